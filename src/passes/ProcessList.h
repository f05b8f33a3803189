#pragma once
// The record a rename pass keeps for one directory entry between finding it and
// handling it.
#include <memory>
#include <string>

#include "passes/FileFields.h"
#include "platform/FindData.h"
#include "platform/FolderHandle.h"

namespace vt {

struct TProcessList {
  // The folder the entry lives in, open, with its path as the rows show it.
  // Shared by all the records of one listing: a folder of many files must not
  // cost a copy per entry.
  std::shared_ptr<const TFolderHandle> Folder;
  TFindData FindData;  // the entry as the listing returned it
  // What was read of the file to put it in order, when it was: the fields of
  // its new name come from the same reading. Held apart: a folder ordered by
  // date taken keeps a record per file, most of them without any.
  std::unique_ptr<TFileFacts> Facts;
};

}  // namespace vt
