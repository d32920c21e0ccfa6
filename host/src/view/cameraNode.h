#pragma once
// The built-in camera shape. Its attributes are those Maya files commonly set on cameras (long
// and short names as files write them; the apertures also through their parent "cap"); the view
// reads the lens from them. The film offsets, overscan, lens squeeze, depth of field and the
// names for rendering are kept for the file only, as is any other attribute a file sets.

#include "view/viewCamera.h"

#include <maya/MPxNode.h>

namespace host {

class Node;
class TypeRegistry;

class CameraNode : public MPxNode {
  public:
    static void* creator() { return new CameraNode; }
    static void initialize();

    static MObject focalLength, horizontalFilmAperture, verticalFilmAperture, filmFit,
        nearClipPlane, farClipPlane, orthographic, orthographicWidth, centerOfInterest;
};

void registerCameraType(TypeRegistry& registry);

// The camera shape a node stands for: the node itself, or the first camera shape under a
// transform; null for anything else.
Node* cameraShapeOf(Node* node);
// The lens a camera shape's attributes describe (evaluated first). Values no lens can have are
// replaced by usable ones: a focal length, aperture, orthographic width or near clip plane that
// is not a finite number above 0 by its default, and a far clip plane that is not a finite
// number beyond the near one by 1e4 times the near one.
Lens lensOf(Node& camera);

} // namespace host
