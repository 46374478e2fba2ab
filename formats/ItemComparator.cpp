#include "formats/FormatHandlers.h"
#include "platform/Errors.h"

void ExtractItemComparator(TRunContext&, const std::string&) { throw EFormatError("Item comparators are not supported yet"); }
int InsertItemComparator(TRunContext&, int) { throw EFormatError("Item comparators are not supported yet"); }
