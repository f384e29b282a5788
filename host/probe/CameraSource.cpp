// The camera the inspector runs against: a model of the simulated camera library, or the
// vendor's library as the build links it.
#include "CommandLine.h"

#if defined(AMBREL_INSPECT_SIMULATOR)
#include <sim/CameraSim.h>
#endif

namespace inspect {

#if defined(AMBREL_INSPECT_SIMULATOR)

bool PrepareCamera(CommandLine& line, std::string& error) {
    pfsim::CameraControl& camera = pfsim::Control();
    if (line.cameraFile) {
        const std::string& file = *line.cameraFile;
        std::string why;
        switch (camera.Load(file, &why)) {
            case pfsim::CameraControl::LoadResult::Unreadable:
                error = "--camera " + file + ": cannot read model file '" + file + "': " + why;
                return false;
            case pfsim::CameraControl::LoadResult::Invalid:
                error = "--camera " + file + ": " + why;
                return false;
            case pfsim::CameraControl::LoadResult::Loaded:
                break;
        }
    } else {
        camera.LoadDefault();
    }
    // The link time is computed from the calls; nobody needs to wait for it.
    camera.EnableDelays(false);
    // Nor the library's own log of them: it would keep copies of every answer (each port's
    // description on every refresh).
    camera.EnableCallLog(false);
    line.options.baudByPort.clear();
    for (int32_t port = 0; port < camera.PortCount(); ++port)
        if (const std::optional<int32_t> baud = camera.Baud(port))
            line.options.baudByPort[port] = *baud;
    return true;
}

#else

bool PrepareCamera(CommandLine& line, std::string& error) {
    if (line.cameraFile) {
        error =
            "--camera: this build links the vendor's camera library, which reads no model "
            "files; inspect the cameras on its ports without --camera";
        return false;
    }
    return true;
}

#endif

}  // namespace inspect
