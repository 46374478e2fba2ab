// The component layer and the components live here.
