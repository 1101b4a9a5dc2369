// The data module: the four databases the templates can name, with their settings,
// created at start-up and living for the whole process. Nothing is opened until a
// statement needs it.
#pragma once

#include "dbengine/QDB.h"

namespace vantrel {

class TDataModule1 {
 public:
  TDataModule1();
  TDataModule1(const TDataModule1&) = delete;
  TDataModule1& operator=(const TDataModule1&) = delete;

  TQDBSession Session;
  TQDBDatabase VantrelKVT;    // the product catalogue, read-only
  TQDBDatabase VantrelLocal;  // local data
  TQDBDatabase Project;       // the open project; its file is set at run time
  TQDBDatabase ProjectSrc;    // the project's source; its file is set at run time
};

}  // namespace vantrel
