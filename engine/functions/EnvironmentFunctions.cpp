// Environment, file and variable built-ins: the application folder, existence tests
// for files and folders, a file copy, starting other programs with or without
// waiting, evaluating a name, and testing and deleting variables. All disk access
// and process creation go through the platform layer.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/Strings.h"
#include "engine/TPBaseTag.h"
#include "engine/clause/TClause.h"
#include "engine/functions/BuiltIns.h"
#include "engine/functions/FunctionSupport.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace vantrel {

namespace {

TPBaseTag& Owner(TClause& caller) {
  if (caller.OwnerTag == nullptr) throw std::runtime_error("The clause has no owner tag");
  return *caller.OwnerTag;
}

// The parent folder of a folder text: trailing blanks and one trailing "\" go, then
// everything after the last remaining "\". A text without "\" stays as it is.
std::string ParentFolder(std::string folder) {
  folder = TrimRight(folder);
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  const size_t at = folder.rfind('\\');
  if (at != std::string::npos) folder.erase(at + 1);
  return folder;
}

// The path that fileexists and directoryexists test. A path beginning with "\" is
// taken from the application folder, unless it already begins with it (as
// rootpath() followed by a name does). Otherwise every "..\" climbs one folder
// from the page's folder and drops the first three characters of the path; the
// page's folder is put in front when joinFolder is set or when the path climbed.
std::string ResolveExistencePath(std::string path, std::string folder, const std::string& appFolder,
                                 bool joinFolder) {
  if (path.empty()) return path;
  for (char& c : path)
    if (c == '/') c = '\\';
  if (path[0] == '\\') {
    const std::string_view appWithoutSlash = std::string_view(appFolder).substr(0, appFolder.size() - 1);
    if (StartsWith(path, appFolder) || (!appFolder.empty() && path == appWithoutSlash)) return path;
    return appFolder + path.substr(1);
  }
  bool climbed = false;
  while (Contains(path, "..\\")) {
    folder = ParentFolder(std::move(folder));
    path.erase(0, 3);
    climbed = true;
  }
  if (joinFolder || climbed) path = folder + path;
  return path;
}

void ExistenceTest(TClause& caller, TClause& arguments, std::string& result, std::string_view label,
                   bool directory) {
  RunBuiltIn(caller, arguments, result, label, "ERROR", [&]() -> std::string {
    const std::string path = Argument(arguments, 1);
    const std::string resolved =
        ResolveExistencePath(path, Owner(caller).Folder.Text(), caller.Engine.AppFolder, directory);
    const bool exists = directory ? platform::DirectoryExists(resolved) : platform::FileExists(resolved);
    return exists ? "true" : "false";
  });
}

// dosexec: "1" when the program was started, "0" when it could not be; no waiting.
void StartCommand(TClause& caller, TClause& arguments, std::string& result, std::string_view label) {
  RunBuiltIn(caller, arguments, result, label, "ERROR", [&]() -> std::string {
    const std::string command = Argument(arguments, 1);
    return platform::StartProcess(command) ? "1" : "0";
  });
}

// shellexec: the exit code after the program ended, "-1" when it could not start.
// The page's rendering waits meanwhile; nothing else runs during the wait.
void RunCommand(TClause& caller, TClause& arguments, std::string& result, std::string_view label) {
  RunBuiltIn(caller, arguments, result, label, "ERROR", [&]() -> std::string {
    const std::string command = Argument(arguments, 1);
    const std::optional<int> exitCode = platform::RunProcess(command);
    return std::to_string(exitCode ? *exitCode : -1);
  });
}

void ResolveArgument(TClause& caller, TClause& arguments, std::string& result, std::string_view label) {
  RunBuiltIn(caller, arguments, result, label, "ERROR",
             [&]() -> std::string { return caller.ResolveOperand(Argument(arguments, 1)); });
}

}  // namespace

// dbsetfile: gives the database "Project" or "ProjectSrc" (exactly so written) a new
// file: it is closed, which closes every result set opened on it, and opened again
// on the file. A missing argument or a file that does not open is not caught here:
// the clause evaluation reports it, and the database stays closed with the new name.
void Fn_dbsetfile(TClause& caller, TClause& arguments, std::string& result) {
  result = "false";
  const std::string name = Argument(arguments, 1);
  const std::string file = Argument(arguments, 2);
  if (name != "Project" && name != "ProjectSrc") return;
  TQDBDatabase* database = caller.Engine.Session != nullptr ? caller.Engine.Session->FindDatabase(name) : nullptr;
  if (database == nullptr) throw EQDBError("Database not found: " + name);
  database->Close();
  database->DatabaseFileName = file;
  database->Open();
  result = "true";
}

void Fn_rootpath(TClause& caller, TClause&, std::string& result) { result = caller.Engine.AppFolder; }

void Fn_fileexists(TClause& caller, TClause& arguments, std::string& result) {
  ExistenceTest(caller, arguments, result, "FileExists", false);
}

void Fn_directoryexists(TClause& caller, TClause& arguments, std::string& result) {
  ExistenceTest(caller, arguments, result, "DirectoryExists", true);
}

// Failures are not caught here: a missing argument or a failed copy ends the
// evaluation of the whole clause.
void Fn_filecopy(TClause&, TClause& arguments, std::string& result) {
  result = "false";
  const std::string source = Argument(arguments, 1);
  const std::string destination = Argument(arguments, 2);
  std::string error;
  if (!platform::CopyFile(source, destination, error)) throw std::runtime_error(error);
  result = "true";
}

void Fn_dosexec(TClause& caller, TClause& arguments, std::string& result) {
  StartCommand(caller, arguments, result, "dosexec");
}

// Programs have no window to hide here, so this is dosexec.
void Fn_dosexechide(TClause& caller, TClause& arguments, std::string& result) {
  StartCommand(caller, arguments, result, "dosexechide");
}

void Fn_shellexec(TClause& caller, TClause& arguments, std::string& result) {
  RunCommand(caller, arguments, result, "shellexec");
}

// Programs have no window to hide here, so this is shellexec.
void Fn_shellexechide(TClause& caller, TClause& arguments, std::string& result) {
  RunCommand(caller, arguments, result, "shellexechide");
}

void Fn_evaluate(TClause& caller, TClause& arguments, std::string& result) {
  ResolveArgument(caller, arguments, result, "Evaluate");
}

void Fn_valueof(TClause& caller, TClause& arguments, std::string& result) {
  ResolveArgument(caller, arguments, result, "valueof");
}

void Fn_isdefined(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "isdefined", "ERROR",
             [&]() -> std::string { return Owner(caller).IsParamDefined(Argument(arguments, 1)); });
}

// Its failure report carries no argument list.
void Fn_parameterexists(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltInReporting(
      caller, result, "ERROR",
      [&]() -> std::string { return Owner(caller).IsParamDefined(Argument(arguments, 1)); },
      [] { return std::string("Fn: ParameterExists()"); });
}

// Deletes scope.name. With the indicator "true" (the default, any letter case) the
// result tells whether a variable was deleted; any other indicator gives the empty
// text after the same deletion.
void Fn_structdelete(TClause& caller, TClause& arguments, std::string& result) {
  RunBuiltIn(caller, arguments, result, "structdelete", "ERROR", [&]() -> std::string {
    const std::string scope = Argument(arguments, 1);
    const std::string name = Argument(arguments, 2);
    const std::string indicator = HasArgument(arguments, 3) ? LowerCase(Argument(arguments, 3)) : "true";
    const bool deleted = Owner(caller).DeleteVariable(scope + "." + name);
    if (indicator != "true") return "";
    return deleted ? "true" : "false";
  });
}

}  // namespace vantrel
