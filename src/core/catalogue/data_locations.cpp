#include "catalogue/data_locations.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef QUARVEL_SOURCE_DATA_DIR
#define QUARVEL_SOURCE_DATA_DIR "data"
#endif
#ifndef QUARVEL_DATA_DIR_FROM_BINDIR
#define QUARVEL_DATA_DIR_FROM_BINDIR "../share/quarvel"
#endif

namespace {

namespace stdfs = std::filesystem;

std::string EnvValue(const CDataLocations::EnvLookup& env, const char* name) {
  const char* v = env ? env(name) : std::getenv(name);
  return v != nullptr ? std::string(v) : std::string();
}

std::string HomeDirectory(const CDataLocations::EnvLookup& env) {
  std::string home = EnvValue(env, "HOME");
  if (!home.empty()) return home;
  passwd pw;
  passwd* found = nullptr;
  std::vector<char> buf(16384);
  if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return {};
}

std::string Absolute(std::string path) {
  if (!path.empty() && path[0] != '/') {
    std::error_code ec;
    const stdfs::path cwd = stdfs::current_path(ec);
    if (!ec) path = (cwd / path).string();
  }
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

bool EndsWithFrt(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".frt";
}

// Creates `dir` (and its parents); reports whether it had to be made.
bool MakeDirectory(const std::string& dir, bool& created) {
  std::error_code ec;
  created = stdfs::create_directories(dir, ec);
  if (ec) return false;
  return stdfs::is_directory(dir, ec);
}

// Copies the regular files of `from` accepted by `want` into `to` where they are missing.
bool SeedFiles(const std::string& from, const std::string& to, bool (*want)(const std::string&),
               frt::FileSystem& files, std::vector<std::string>* copied, std::string* failedPath) {
  std::error_code ec;
  std::vector<std::string> names;
  for (stdfs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeEc;
    if (!it->is_regular_file(typeEc)) continue;
    std::string name = it->path().filename().string();
    if (want == nullptr || want(name)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  bool ok = true;
  for (const std::string& name : names) {
    const std::string target = to + "/" + name;
    unsigned mode = 0;
    if (files.GetMode(target, mode)) continue;  // the user's file stays
    std::string bytes;
    if (files.ReadAll(from + "/" + name, bytes) != frt::kOk ||
        frt::WriteFileSafely(target, bytes, &files) != frt::kOk) {
      if (ok && failedPath != nullptr) *failedPath = target;
      ok = false;
      continue;
    }
    if (copied != nullptr) copied->push_back(target);
  }
  return ok;
}

}  // namespace

std::string CDataLocations::InstalledSharedDir(const std::string& executable) {
  const std::size_t slash = executable.rfind('/');
  if (slash == std::string::npos) return {};
  const stdfs::path dir =
      (stdfs::path(executable.substr(0, slash)) / QUARVEL_DATA_DIR_FROM_BINDIR).lexically_normal();
  std::error_code ec;
  if (!stdfs::is_directory(dir / "Templates", ec)) return {};
  std::string out = dir.string();
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

std::string CDataLocations::BuiltInSharedDir() {
  // An installed program takes the data installed with it, even while the source tree it was
  // built from still exists; a program in its build tree takes the source tree's data.
  std::error_code ec;
  const stdfs::path self = stdfs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    if (std::string beside = InstalledSharedDir(self.string()); !beside.empty()) return beside;
  }
#ifdef QUARVEL_INSTALLED_DATA_DIR
  if (!stdfs::is_directory(QUARVEL_SOURCE_DATA_DIR, ec)) return QUARVEL_INSTALLED_DATA_DIR;
#endif
  return QUARVEL_SOURCE_DATA_DIR;
}

frt::Result CDataLocations::Resolve(const CDataLocationOptions& options, const EnvLookup& env,
                                    std::string_view defaultSharedDir) {
  std::string app = options.appDir;
  if (app.empty()) app = EnvValue(env, kAppDirVariable);
  if (app.empty()) {
    const std::string xdg = EnvValue(env, "XDG_DATA_HOME");
    if (!xdg.empty() && xdg[0] == '/') {
      app = xdg + "/quarvel";
    } else {
      const std::string home = HomeDirectory(env);
      if (home.empty()) return frt::kInitFailed;
      app = home + "/.local/share/quarvel";
    }
  }
  std::string shared = options.sharedDir;
  if (shared.empty()) shared = EnvValue(env, kSharedDirVariable);
  if (shared.empty())
    shared = defaultSharedDir.empty() ? BuiltInSharedDir() : std::string(defaultSharedDir);
  appDir_ = Absolute(std::move(app));
  sharedDir_ = Absolute(std::move(shared));
  return frt::kOk;
}

frt::Result CDataLocations::PrepareAppDir(std::vector<std::string>* copied, std::string* failedPath,
                                          frt::FileSystem* fs) const {
  frt::FileSystem& files = fs != nullptr ? *fs : frt::FileSystem::Posix();
  auto fail = [&](const std::string& path) {
    if (failedPath != nullptr) *failedPath = path;
    return frt::kCannotSave;
  };
  if (appDir_.empty()) return fail(appDir_);
  bool created = false;
  if (!MakeDirectory(appDir_, created)) return fail(appDir_);
  if (!MakeDirectory(GlobalDir(), created)) return fail(GlobalDir());
  bool formatIsNew = false;
  if (!MakeDirectory(FormatDir(), formatIsNew)) return fail(FormatDir());

  bool ok = SeedFiles(sharedDir_ + "/Global", GlobalDir(), nullptr, files, copied, failedPath);
  if (formatIsNew) {
    ok = SeedFiles(sharedDir_ + "/Format", FormatDir(), EndsWithFrt, files, copied,
                   ok ? failedPath : nullptr) &&
         ok;
  }
  return ok ? frt::kOk : frt::kCannotSave;
}
