#pragma once
// The extract and insert handlers of the two resource formats.
//
// Extract handlers take a source path, write their outputs into Run.OutputDir and append the
// block's entry lines to Run.ResultList. Insert handlers take the index in Run.ReplayList of
// their block's first entry line, close Run.TargetStream first, read their source by
// Run.TargetPath, and return the index one past the last line they consumed.
// Errors are the platform's exceptions; none is caught here.

#include <string>

#include "formats/RunContext.h"

void ExtractImageList(TRunContext& Run, const std::string& Path);
int InsertImageList(TRunContext& Run, int Index);
void ExtractItemComparator(TRunContext& Run, const std::string& Path);
int InsertItemComparator(TRunContext& Run, int Index);
