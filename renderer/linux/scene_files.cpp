#include "scene_files.h"

#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

#include "contract/working_files.h"

namespace fs = std::filesystem;

// Lower case, with every '/' turned into '\', so Windows paths compare equal
// however they were spelt.
static std::string WindowsPathKey(const std::string& path) {
  std::string key = path;
  for (char& c : key) {
    c = (c == '/') ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return key;
}

// The folder holding the running executable; empty if /proc cannot say.
static fs::path ExecutableFolder() {
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : exe.parent_path();
}

// folder/name, or, when that does not exist, the entry of folder whose name
// matches in another case: the model's Windows names ignore case.
static std::string FindInFolder(const fs::path& folder, const std::string& name) {
  const fs::path exact = folder / name;
  std::error_code error;
  if (fs::exists(exact, error)) return exact.string();
  const std::string wanted = WindowsPathKey(name);
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (WindowsPathKey(it->path().filename().string()) == wanted) return it->path().string();
  }
  return exact.string();
}

SceneFiles DefaultSceneFiles() {
  std::vector<fs::path> folders;
  const fs::path exe_folder = ExecutableFolder();
  if (!exe_folder.empty()) {
    folders.push_back(exe_folder / "assets");
    folders.push_back(exe_folder.parent_path() / "assets");
    // Installed: PREFIX/libexec/xscreensaver/skyliner beside PREFIX/share/skyliner.
    folders.push_back(exe_folder.parent_path().parent_path() / "share" / "skyliner");
  }
#ifdef SKYLINER_ASSETS_DIR
  folders.push_back(fs::path(SKYLINER_ASSETS_DIR));
#endif
  std::error_code error;
  for (const fs::path& folder : folders) {
    if (!fs::is_regular_file(folder / kModelFileName, error)) continue;
    return {(folder / kModelFileName).string(), (folder / "sky.bmp").string(),
            (folder / "sample-desktop.bmp").string()};
  }
  return {};
}

RgbImage* SceneFilesHost::ReadScenePicture(ScenePicture which, bool report) {
  return ReadPicture((which == ScenePicture::kSky ? files_.sky : files_.ground).c_str(), report);
}

RgbImage* SceneFilesHost::ReadMaterialPicture(const std::string& name) {
  return ReadPicture(MaterialPicturePath(files_, name).c_str(), true);
}

std::string MaterialPicturePath(const SceneFiles& files, const std::string& path) {
  const std::string key = WindowsPathKey(path);
  if (key == WindowsPathKey(kRendererSkyPicturePath)) return files.sky;
  if (key == WindowsPathKey(kRendererGroundPicturePath)) return files.ground;
  const std::string folder = WindowsPathKey(kRendererWorkingFolder) + "\\";
  if (key.compare(0, folder.size(), folder) != 0 || key.size() == folder.size()) return path;
  std::string name = path.substr(folder.size());
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  const fs::path model_folder = fs::path(files.model).parent_path();
  return FindInFolder(model_folder.empty() ? fs::path(".") : model_folder, name);
}
