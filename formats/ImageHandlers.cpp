#include "formats/FormatHandlers.h"
#include "platform/Errors.h"

void ExtractImageList(TRunContext&, const std::string&) { throw EFormatError("Image resource lists are not supported yet"); }
int InsertImageList(TRunContext&, int) { throw EFormatError("Image resource lists are not supported yet"); }
