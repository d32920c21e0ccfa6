#include <host/viewport.h>

#include "view/view.h"

#include <maya/MGlobal.h>

namespace host {

MStatus renderView(const ViewSettings& settings, Image& image, const DrawProgress& progress) {
    View& view = View::active();
    std::string error;
    MStatus status = view.setSize(settings.width, settings.height, error);
    if (status) {
        view.setStyle(settings.style);
        view.setCameraName(settings.camera);
        status = view.refresh(error, progress);
    }
    if (!status) {
        MGlobal::displayError(("Cannot draw the view: " + error).c_str());
        return status;
    }
    image = view.image();
    return MS::kSuccess;
}

} // namespace host
