#include "app/storage.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>

#include "app/program_dir.h"
#include "app/settings.h"
#include "engine/data_file.h"
#include "engine/loader.h"

namespace tavro2 {
namespace {

constexpr char kAppFolder[] = "tavro2/";

std::string withSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir.push_back('/');
  return dir;
}

// "/usr/bin/../share/tavro2/" reads better as "/usr/share/tavro2/"; a
// relative program directory stays relative.
std::string normalDir(const std::string& dir) {
  return withSlash(std::filesystem::path(dir).lexically_normal().string());
}

bool regularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string shareDirOf(const std::string& programDir) {
  return normalDir(withSlash(programDir) + "../share/tavro2/");
}

bool holdsData(const std::string& dir) {
  for (const char* name : kDataFileNames)
    if (regularFile(resolvePath(dir + name))) return true;
  return false;
}

// An XDG base directory: the variable when it names an absolute path (the
// base-directory rules ignore a relative one), else $HOME + fallback.
std::string xdgBase(const std::string& variable, const std::string& home, const char* fallback) {
  if (!variable.empty() && variable.front() == '/') return withSlash(variable);
  return withSlash(home) + fallback;
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string homeDirectory() {
  std::string home = environment("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";
}

bool makeDirectories(const std::string& dir) {
  std::error_code ec;
  if (std::filesystem::is_directory(dir, ec)) return true;
  std::filesystem::create_directories(dir, ec);
  if (ec) return false;
  ::chmod(dir.c_str(), 0700);
  return true;
}

std::mutex& storageMutex() {
  static std::mutex mutex;
  return mutex;
}
std::optional<StoragePlaces>& cachedStorage() {
  static std::optional<StoragePlaces> places;
  return places;
}

}  // namespace

std::string StoragePlaces::identity() const {
  std::error_code ec;
  // weakly_canonical keeps the trailing separator of a directory that does
  // not exist yet and drops it from one that does: without it in both, a
  // place reads the same before its directories are made and after.
  const auto canonical = [&ec](const std::string& dir) {
    const auto path = std::filesystem::weakly_canonical(std::filesystem::absolute(dir, ec), ec);
    std::string text = ec ? dir : path.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
  };
  return canonical(configDir) + '\n' + canonical(userDir);
}

StoragePlaces decideStorage(const StorageInputs& in) {
  if (in.programDirWritable && (in.programDirHasData || !in.shareDirHasData))
    return storageIn(in.programDir);
  StoragePlaces places;
  places.portable = false;
  places.dataDir = in.programDirHasData ? withSlash(in.programDir) : shareDirOf(in.programDir);
  places.configDir = xdgBase(in.xdgConfigHome, in.home, ".config/") + kAppFolder;
  places.userDir = xdgBase(in.xdgDataHome, in.home, ".local/share/") + kAppFolder;
  return places;
}

StoragePlaces storageIn(const std::string& dir) {
  const std::string d = withSlash(dir.empty() ? "." : dir);
  return StoragePlaces{d, d, d, true};
}

StorageInputs currentStorageInputs(const std::string& programDir) {
  StorageInputs in;
  in.programDir = withSlash(programDir);
  // Writable means the settings could be created here; access() asks with
  // the real ids, which is what matters for a program that is not setuid.
  in.programDirWritable = ::access(in.programDir.c_str(), W_OK | X_OK) == 0;
  in.programDirHasData = holdsData(in.programDir);
  in.shareDirHasData = holdsData(shareDirOf(in.programDir));
  in.home = homeDirectory();
  in.xdgConfigHome = environment("XDG_CONFIG_HOME");
  in.xdgDataHome = environment("XDG_DATA_HOME");
  return in;
}

const StoragePlaces& currentStorage() {
  std::lock_guard<std::mutex> lock(storageMutex());
  auto& places = cachedStorage();
  if (!places) places = decideStorage(currentStorageInputs(programDirectory()));
  return *places;
}

void setStorage(StoragePlaces places) {
  std::lock_guard<std::mutex> lock(storageMutex());
  cachedStorage() = std::move(places);
}

bool prepareStorage(const StoragePlaces& places) {
  if (places.portable) return true;
  const bool config = makeDirectories(places.configDir);
  const bool user = makeDirectories(places.userDir);
  return config && user;
}

std::string noteMissingData(const std::string& status, const std::string& loadStatus) {
  if (loadStatus.empty() || loadStatus == " Data OK" || loadStatus == " Loading Data...")
    return status;
  if (status != " not found" && status != " ") return status;
  static const std::string kNothing =
      loadStatusText({LoadState::kMissing, LoadState::kMissing, LoadState::kMissing});
  return loadStatus == kNothing ? " not found - no dictionary data" : " not found -" + loadStatus;
}

std::string manualPath() {
  const std::string dir = programDirectory();
  for (const std::string& path :
       {dir + "manual/index.html", normalDir(dir + "../share/doc/tavro2/manual/") + "index.html"})
    if (regularFile(path)) return path;
  return {};
}

std::string describeStorage(const StoragePlaces& places) {
  if (places.portable) return "All files: " + places.dataDir + "\n";
  return "Dictionary data: " + places.dataDir + "\n" + "Settings (" + kSettingsFileName +
         "): " + places.configDir + "\n" + "History and user word lists: " + places.userDir +
         "\n";
}

}  // namespace tavro2
