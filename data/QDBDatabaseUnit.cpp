// The data module; see QDBDatabaseUnit.h.
#include "data/QDBDatabaseUnit.h"

namespace vantrel {

namespace {
constexpr const char* kPassword = "ferntopaz7153";
}

TDataModule1::TDataModule1() {
  VantrelKVT.DatabaseName = "VantrelKVT";
  VantrelKVT.DatabaseFileName = "Database\\VantrelKVT.QDB";
  VantrelKVT.ReadOnly = true;
  VantrelKVT.Password = kPassword;
  VantrelLocal.DatabaseName = "VantrelLocal";
  VantrelLocal.DatabaseFileName = "Database\\VantrelLocal.QDB";
  VantrelLocal.Password = kPassword;
  Project.DatabaseName = "Project";
  ProjectSrc.DatabaseName = "ProjectSrc";
  for (TQDBDatabase* db : {&VantrelKVT, &VantrelLocal, &Project, &ProjectSrc}) Session.Add(db);
}

}  // namespace vantrel
