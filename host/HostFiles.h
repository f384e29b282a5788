// Where the host finds the plug-in and the camera models it ships with: relative to its own
// executable, so an installed tree runs wherever it is moved.
#pragma once

#include <string>

namespace host {

// The plug-in `file` beside the executable, else in `folder` (relative to the executable's
// folder) when it is there; the place beside the executable when it is in neither.
std::string DefaultPluginPath(const std::string& folder, const std::string& file);

// The file `--camera VALUE` names: VALUE itself when it is a file or names a folder; otherwise
// the model VALUE (or VALUE.json) in `folder` (relative to the executable's folder) when that
// is a file, else VALUE unchanged.
std::string CameraModelPath(const std::string& value, const std::string& folder);

}  // namespace host
