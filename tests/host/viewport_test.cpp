// The viewport: what it draws, through which camera, with which OpenGL state, and the PNG files
// it writes. Test locators record what each draw was given and what OpenGL did with their lines.

#include "graph/graph.h"
#include "graph/nodeType.h"
#include "view/cameraNode.h"
#include "view/view.h"
#include "view/viewCamera.h"

#include "pngFiles.h"

#include <host/image.h>
#include <host/messages.h>
#include <host/scene.h>
#include <host/viewport.h>

#include <maya/M3dView.h>
#include <maya/MDagPath.h>
#include <maya/MDataBlock.h>
#include <maya/MDoubleArray.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFnMesh.h>
#include <maya/MFnNurbsSurface.h>
#include <maya/MIntArray.h>
#include <maya/MMatrix.h>
#include <maya/MPointArray.h>
#include <maya/MPxLocatorNode.h>

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

const double pi = 3.14159265358979323846;

// What a test locator shows, by node name.
struct Look {
    std::vector<MPoint> strip; // one GL_LINE_STRIP, in object space
    MColor color = MColor(1.0f, 0.0f, 0.0f);
    bool feedback = false; // read the strip back through GL_FEEDBACK instead of drawing it
    bool bounded = false;
    MBoundingBox box;
};

// What one call of draw was given.
struct DrawCall {
    std::string node;
    M3dView::DisplayStyle style;
    M3dView::DisplayStatus status;
    int portWidth = 0, portHeight = 0;
    std::string camera; // the view's camera, "" when getCamera failed
    MMatrix modelView, expectedModelView;
    double built = 0.0; // what compute last made
};

class TestLocator : public MPxLocatorNode {
  public:
    static MObject size, built;
    static std::map<std::string, Look> looks;
    static std::vector<DrawCall> calls;
    static std::vector<GLfloat> feedback; // the last feedback buffer, as returned

    static void* creator() { return new TestLocator; }
    static MStatus initialize() {
        MFnNumericAttribute numeric;
        size = numeric.create("size", "sz", MFnNumericData::kDouble, 1.0);
        built = numeric.create("built", "bu", MFnNumericData::kDouble, 0.0);
        numeric.setWritable(false);
        numeric.setStorable(false);
        addAttribute(size);
        addAttribute(built);
        attributeAffects(size, built);
        return MS::kSuccess;
    }

    // Like the feather nodes, the locator keeps what its compute made for its draw.
    MStatus compute(const MPlug& plug, MDataBlock& data) override {
        if (plug != built)
            return MS::kUnknownParameter;
        builtSize_ = data.inputValue(size).asDouble();
        data.outputValue(built).set(builtSize_);
        data.setClean(plug);
        return MS::kSuccess;
    }

    void draw(M3dView& view, const MDagPath& path, M3dView::DisplayStyle style,
              M3dView::DisplayStatus status) override {
        DrawCall call;
        call.node = name().asChar();
        call.style = style;
        call.status = status;
        call.portWidth = view.portWidth();
        call.portHeight = view.portHeight();
        MDagPath camera;
        if (view.getCamera(camera))
            call.camera = camera.partialPathName().asChar();
        view.modelViewMatrix(call.modelView);
        call.expectedModelView =
            path.inclusiveMatrix() * host::View::active().lastCamera().viewMatrix();
        call.built = builtSize_;
        calls.push_back(call);

        const Look& look = looks[call.node];
        view.beginGL();
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        std::vector<GLfloat> buffer(4096);
        if (look.feedback) {
            glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
            glRenderMode(GL_FEEDBACK);
        }
        glColor3f(look.color.r, look.color.g, look.color.b);
        glBegin(GL_LINE_STRIP);
        for (const MPoint& p : look.strip)
            glVertex3d(p.x, p.y, p.z);
        glEnd();
        if (look.feedback) {
            GLint count = glRenderMode(GL_RENDER);
            feedback.assign(buffer.begin(), buffer.begin() + std::max(count, 0));
        }
        glPopAttrib();
        view.endGL();
    }

    bool isBounded() const override { return lookOf().bounded; }
    MBoundingBox boundingBox() const override { return lookOf().box; }

  private:
    const Look& lookOf() const { return looks[name().asChar()]; }
    double builtSize_ = 0.0;
};
MObject TestLocator::size, TestLocator::built;
std::map<std::string, Look> TestLocator::looks;
std::vector<DrawCall> TestLocator::calls;
std::vector<GLfloat> TestLocator::feedback;

class ViewportTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(host::TypeRegistry::instance().registerNode(
            "testViewLocator", MTypeId(0x7f501), &TestLocator::creator, &TestLocator::initialize,
            MPxNode::kLocatorNode, nullptr, &error))
            << error;
    }
    void SetUp() override {
        scene.fileNew();
        TestLocator::looks.clear();
        TestLocator::calls.clear();
        TestLocator::feedback.clear();
    }
    void TearDown() override { scene.fileNew(); }

    // A transform with translate, rotate (radians) and scale, and a test locator under it.
    std::string locator(const std::string& name, const Look& look, const MVector& translate = {},
                        const MVector& rotate = {}, double scale = 1.0) {
        const std::string parent = transform(name + "Move", translate, rotate, scale);
        EXPECT_TRUE(scene.createNode("testViewLocator", name, parent)) << scene.lastError();
        TestLocator::looks[name] = look;
        return name;
    }
    std::string transform(const std::string& name, const MVector& translate, const MVector& rotate,
                          double scale = 1.0) {
        std::string created;
        EXPECT_TRUE(scene.createNode("transform", name, "", &created)) << scene.lastError();
        EXPECT_TRUE(scene.setAttr(created + ".t",
                                  std::vector<double>{translate.x, translate.y, translate.z}));
        EXPECT_TRUE(
            scene.setAttr(created + ".r", std::vector<double>{rotate.x, rotate.y, rotate.z}));
        EXPECT_TRUE(scene.setAttr(created + ".s", std::vector<double>{scale, scale, scale}));
        return created;
    }
    // A camera shape named name + "Shape" under a transform named name.
    void camera(const std::string& name, const MVector& translate, const MVector& rotate) {
        transform(name, translate, rotate);
        EXPECT_TRUE(scene.createNode("camera", name + "Shape", name)) << scene.lastError();
    }
    // An orthographic camera looking down -Z from z = 10 at a square of 6.4 units: on a 64x64
    // image each pixel is 0.1 units and pixel centres lie at odd multiples of 0.05.
    void pixelCamera(const std::string& name) {
        camera(name, MVector(0.0, 0.0, 10.0), MVector());
        for (const char* attribute : {".hfa", ".vfa"})
            EXPECT_TRUE(scene.setAttr(name + "Shape" + attribute, 1.0));
        EXPECT_TRUE(scene.setAttr(name + "Shape.o", 1.0));
        EXPECT_TRUE(scene.setAttr(name + "Shape.ow", 6.4));
    }
    // A degree-1 NURBS square in the XY plane, from -half to half, under a new transform.
    std::string square(const std::string& name, double half) {
        std::string parent = transform(name, MVector(), MVector());
        MPointArray cvs;
        cvs.append(MPoint(-half, -half, 0.0));
        cvs.append(MPoint(-half, half, 0.0));
        cvs.append(MPoint(half, -half, 0.0));
        cvs.append(MPoint(half, half, 0.0));
        MDoubleArray knots;
        knots.append(0.0);
        knots.append(1.0);
        MObject owner = scene.findNode(parent);
        MStatus status;
        MFnNurbsSurface surface;
        MObject shape = surface.create(cvs, knots, knots, 1, 1, MFnNurbsSurface::kOpen,
                                       MFnNurbsSurface::kOpen, false, owner, &status);
        EXPECT_TRUE(status);
        MDagPath path;
        MDagPath::getAPathTo(shape, path);
        return path.partialPathName().asChar();
    }

    host::Image render(int width, int height, const std::string& cameraName = "",
                       M3dView::DisplayStyle style = M3dView::kWireFrame) {
        host::ViewSettings settings;
        settings.width = width;
        settings.height = height;
        settings.camera = cameraName;
        settings.style = style;
        host::Image image;
        MStatus status = host::renderView(settings, image);
        EXPECT_TRUE(status);
        EXPECT_EQ(image.width, width);
        EXPECT_EQ(image.height, height);
        return image;
    }

    std::vector<std::string> drawnNodes() const {
        std::vector<std::string> names;
        for (const DrawCall& call : TestLocator::calls)
            names.push_back(call.node);
        return names;
    }

    host::Scene& scene = host::Scene::current();
};

// Colours as 8-bit channels, within one step of rounding.
void expectPixel(const host::Image& image, int x, int y, const MColor& color, const char* what) {
    const unsigned char* p = image.pixel(x, y);
    const float expected[3] = {color.r, color.g, color.b};
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(p[c], expected[c] * 255.0f, 1.01f)
            << what << " at (" << x << ", " << y << "), channel " << c;
}

const MColor background(0.63f, 0.63f, 0.63f);

TEST_F(ViewportTest, FeedbackGivesTheStripThroughTheParentTransformAndThePerspCamera) {
    // A camera at (10, 2, 0) turned a quarter about Y: it looks down world -X. Its film gate
    // (1.5 x 1.0 inches at 50 mm) has the image's aspect, so no fit changes the extents.
    camera("persp", MVector(10.0, 2.0, 0.0), MVector(0.0, pi / 2, 0.0));
    ASSERT_TRUE(scene.setAttr("perspShape.fl", 50.0));
    ASSERT_TRUE(scene.setAttr("perspShape.hfa", 1.5));
    ASSERT_TRUE(scene.setAttr("perspShape.vfa", 1.0));
    ASSERT_TRUE(scene.setAttr("perspShape.ncp", 0.5));
    ASSERT_TRUE(scene.setAttr("perspShape.fcp", 500.0));
    Look look;
    look.strip = {MPoint(0, 0, 0), MPoint(1, 0, 0), MPoint(1, 1, 1)};
    look.color = MColor(1.0f, 0.5f, 0.25f);
    look.feedback = true;
    // Scaled by 2, turned a quarter about Z, moved by (1, 0, 0).
    locator("strip", look, MVector(1.0, 0.0, 0.0), MVector(0.0, 0.0, pi / 2), 2.0);

    render(300, 200);

    // Worked by hand: the object point (x, y, z) lies at (1 - 2y, 2x, 2z) in the world; the
    // camera's right is world -Z, its up world +Y, and it looks down world -X.
    auto window = [](const MPoint& p, double& wx, double& wy, double& wz) {
        const MPoint world(1.0 - 2.0 * p.y, 2.0 * p.x, 2.0 * p.z);
        const double xc = -world.z, yc = world.y - 2.0, zc = world.x - 10.0;
        const double tanHalfWidth = 0.5 * 1.5 * 25.4 / 50.0,
                     tanHalfHeight = 0.5 * 1.0 * 25.4 / 50.0;
        const double n = 0.5, f = 500.0;
        wx = ((xc / -zc) / tanHalfWidth + 1.0) * 0.5 * 300.0;
        wy = ((yc / -zc) / tanHalfHeight + 1.0) * 0.5 * 200.0;
        const double ndcZ = (-(f + n) / (f - n) * zc - 2.0 * f * n / (f - n)) / -zc;
        wz = (ndcZ + 1.0) * 0.5;
    };
    // Two segments, each a token and two vertices of x y z r g b a. The first token may say the
    // stipple was reset (OpenGL leaves that to the implementation).
    const std::vector<GLfloat>& fb = TestLocator::feedback;
    ASSERT_EQ(fb.size(), 30u);
    EXPECT_TRUE(fb[0] == static_cast<GLfloat>(GL_LINE_TOKEN) ||
                fb[0] == static_cast<GLfloat>(GL_LINE_RESET_TOKEN))
        << fb[0];
    EXPECT_EQ(fb[15], static_cast<GLfloat>(GL_LINE_TOKEN));
    const size_t vertexAt[4] = {1, 8, 16, 23};
    const int pointOf[4] = {0, 1, 1, 2};
    for (int v = 0; v < 4; ++v) {
        double wx, wy, wz;
        window(look.strip[static_cast<size_t>(pointOf[v])], wx, wy, wz);
        const GLfloat* got = &fb[vertexAt[v]];
        EXPECT_NEAR(got[0], wx, 1e-3) << "vertex " << v;
        EXPECT_NEAR(got[1], wy, 1e-3) << "vertex " << v;
        EXPECT_NEAR(got[2], wz, 1e-5) << "vertex " << v;
        EXPECT_NEAR(got[3], 1.0, 1e-6);
        EXPECT_NEAR(got[4], 0.5, 1e-6);
        EXPECT_NEAR(got[5], 0.25, 1e-6);
    }

    // The draw saw the view as Maya hands it over.
    ASSERT_EQ(TestLocator::calls.size(), 1u);
    const DrawCall& call = TestLocator::calls[0];
    EXPECT_EQ(call.style, M3dView::kWireFrame);
    EXPECT_EQ(call.status, M3dView::kDormant);
    EXPECT_EQ(call.portWidth, 300);
    EXPECT_EQ(call.portHeight, 200);
    EXPECT_EQ(call.camera, "perspShape");
    EXPECT_TRUE(call.modelView.isEquivalent(call.expectedModelView, 1e-9))
        << call.modelView << "\n"
        << call.expectedModelView;
}

TEST_F(ViewportTest, ALineAcrossTheViewCoversItsRowOfPixelsAndNothingElse) {
    pixelCamera("pixels");
    // A persp camera elsewhere must not be used when another camera is asked for.
    camera("persp", MVector(0.0, 50.0, 0.0), MVector(-pi / 2, 0.0, 0.0));
    Look across;
    across.strip = {MPoint(-10.0, 0.05, 0.0), MPoint(10.0, 0.05, 0.0)};
    across.color = MColor(1.0f, 0.0f, 0.0f);
    locator("across", across);
    Look down;
    down.strip = {MPoint(-1.05, -10.0, 0.0), MPoint(-1.05, 10.0, 0.0)};
    down.color = MColor(0.0f, 0.0f, 1.0f);
    locator("down", down);

    host::Image image = render(64, 64, "pixels");

    // y = 0.05 is the centre of the 33rd row from the bottom: row 31 from the top. x = -1.05
    // is the centre of column 21.
    for (int x = 0; x < 64; ++x) {
        if (x == 21)
            continue; // the blue line
        expectPixel(image, x, 31, across.color, "on the red line");
        expectPixel(image, x, 30, background, "above the red line");
        expectPixel(image, x, 32, background, "below the red line");
    }
    for (int y = 0; y < 64; ++y) {
        if (y == 31)
            continue; // the red line
        expectPixel(image, 21, y, down.color, "on the blue line");
        expectPixel(image, 20, y, background, "left of the blue line");
        expectPixel(image, 22, y, background, "right of the blue line");
    }
    // Depth-tested with LEQUAL: at the crossing the later draw wins.
    expectPixel(image, 21, 31, down.color, "where the lines cross");
    EXPECT_EQ(image.pixel(5, 5)[3], 255);

    // worldToView agrees with where the pixels landed (pixels counted from the bottom).
    short x = 0, y = 0;
    EXPECT_TRUE(M3dView::active3dView().worldToView(MPoint(-1.05, 0.05, 0.0), x, y));
    EXPECT_EQ(x, 21);
    EXPECT_EQ(y, 32);
    EXPECT_FALSE(M3dView::active3dView().worldToView(MPoint(5.0, 0.0, 0.0), x, y));
}

TEST_F(ViewportTest, SurfacesAndMeshesAreDrawnAsWireframesInTheirColours) {
    pixelCamera("pixels");
    // Edges at +-2.05 fall on pixel centres: columns and rows 11 and 52.
    square("plane", 2.05);
    // A one-quad mesh in front of it, edges at +-1.05: columns and rows 21 and 42.
    transform("quad", MVector(0.0, 0.0, 1.0), MVector());
    MFloatPointArray points;
    points.append(MFloatPoint(-1.05f, -1.05f, 0.0f));
    points.append(MFloatPoint(1.05f, -1.05f, 0.0f));
    points.append(MFloatPoint(1.05f, 1.05f, 0.0f));
    points.append(MFloatPoint(-1.05f, 1.05f, 0.0f));
    MIntArray counts, connects;
    counts.append(4);
    for (int i = 0; i < 4; ++i)
        connects.append(i);
    MObject quad = scene.findNode("quad");
    MStatus status;
    MFnMesh().create(4, 1, points, counts, connects, quad, &status);
    ASSERT_TRUE(status);

    const MColor surfaceColor(0.0f, 0.016f, 0.376f), meshColor(0.0f, 0.0f, 0.0f);
    host::Image image = render(64, 64, "pixels");
    for (int t = 12; t < 52; ++t) {
        expectPixel(image, 11, t, surfaceColor, "left edge of the surface");
        expectPixel(image, 52, t, surfaceColor, "right edge of the surface");
        expectPixel(image, t, 11, surfaceColor, "top edge of the surface");
        expectPixel(image, t, 52, surfaceColor, "bottom edge of the surface");
        if (t < 21 || t > 42)
            expectPixel(image, t, 30, background, "inside the surface's single span");
    }
    for (int t = 22; t < 42; ++t) {
        expectPixel(image, 21, t, meshColor, "left edge of the mesh");
        expectPixel(image, 42, t, meshColor, "right edge of the mesh");
        expectPixel(image, t, 21, meshColor, "top edge of the mesh");
        expectPixel(image, t, 42, meshColor, "bottom edge of the mesh");
        expectPixel(image, t, 30, background, "inside the quad");
    }
    expectPixel(image, 5, 5, background, "outside the surface");

    // Templated from above: the template colour.
    ASSERT_TRUE(scene.setAttr("plane.tmp", 1.0));
    image = render(64, 64, "pixels");
    expectPixel(image, 11, 30, MColor(0.47f, 0.47f, 0.47f), "templated edge");
}

TEST_F(ViewportTest, HiddenAndIntermediateShapesAreNeitherDrawnNorFramed) {
    Look small;
    small.strip = {MPoint(-1, 0, 0), MPoint(1, 0, 0)};
    small.bounded = true;
    small.box = MBoundingBox(MPoint(-1, -1, -1), MPoint(1, 1, 1));
    Look huge = small;
    huge.box = MBoundingBox(MPoint(-100, -100, -100), MPoint(100, 100, 100));
    locator("shown", small);
    locator("hiddenShape", huge, MVector(500, 0, 0));
    ASSERT_TRUE(scene.setAttr("hiddenShape.v", 0.0));
    locator("hiddenAbove", huge, MVector(0, 500, 0));
    ASSERT_TRUE(scene.setAttr("hiddenAboveMove.v", 0.0));
    locator("intermediate", huge, MVector(0, 0, 500));
    ASSERT_TRUE(scene.setAttr("intermediate.io", 1.0));
    const std::string hiddenSurface = square("hiddenPlane", 300.0);
    ASSERT_TRUE(scene.setAttr("hiddenPlane.v", 0.0));

    render(100, 100);
    EXPECT_EQ(drawnNodes(), std::vector<std::string>{"shown"});
    EXPECT_EQ(TestLocator::calls[0].camera, ""); // no camera node: the view frames the scene

    // Framed on the one shown box alone: its corners spread over much of the picture.
    const host::ViewCamera& camera = host::View::active().lastCamera();
    const MMatrix toClip = camera.viewMatrix() * camera.projection();
    double minX = 1, maxX = -1;
    for (int corner = 0; corner < 8; ++corner) {
        MPoint p(corner & 1 ? 1 : -1, corner & 2 ? 1 : -1, corner & 4 ? 1 : -1);
        MPoint clip = p * toClip;
        minX = std::min(minX, clip.x / clip.w);
        maxX = std::max(maxX, clip.x / clip.w);
    }
    EXPECT_GT(maxX - minX, 0.8);

    // The status Maya's API reports for each.
    auto statusOf = [&](const std::string& name) {
        MDagPath path;
        MDagPath::getAPathTo(scene.findNode(name), path);
        return M3dView::displayStatus(path);
    };
    EXPECT_EQ(statusOf("shown"), M3dView::kDormant);
    EXPECT_EQ(statusOf("hiddenShape"), M3dView::kInvisible);
    EXPECT_EQ(statusOf("hiddenAbove"), M3dView::kInvisible);
    EXPECT_EQ(statusOf("intermediate"), M3dView::kIntermediateObject);
    EXPECT_EQ(statusOf(hiddenSurface), M3dView::kInvisible);

    // Shown again, a shape is drawn again.
    ASSERT_TRUE(scene.setAttr("hiddenAboveMove.v", 1.0));
    TestLocator::calls.clear();
    render(100, 100);
    EXPECT_EQ(drawnNodes(), (std::vector<std::string>{"shown", "hiddenAbove"}));
}

TEST_F(ViewportTest, WithoutACameraTheViewFramesEveryBox) {
    struct Placed {
        MBoundingBox box;
        MVector translate, rotate;
        double scale;
    };
    const std::vector<Placed> placed = {
        {MBoundingBox(MPoint(-1, -1, -1), MPoint(1, 1, 1)), MVector(0, 0, 0), MVector(), 1.0},
        {MBoundingBox(MPoint(0, 0, 0), MPoint(4, 1, 1)), MVector(-6, 2, 1), MVector(0, 0, 0.7),
         1.5},
        {MBoundingBox(MPoint(-1, -3, -1), MPoint(1, 3, 1)), MVector(3, -5, -4),
         MVector(0.4, 1.1, 0), 0.5},
    };
    for (size_t i = 0; i < placed.size(); ++i) {
        Look look;
        look.strip = {placed[i].box.min(), placed[i].box.max()};
        look.bounded = true;
        look.box = placed[i].box;
        locator("box" + std::to_string(i), look, placed[i].translate, placed[i].rotate,
                placed[i].scale);
    }
    // A surface counts by its CVs, a mesh by its vertices, wherever their transforms put them.
    square("plane", 1.0);
    ASSERT_TRUE(scene.setAttr("plane.t", std::vector<double>{9.0, 9.0, 9.0}));
    transform("triangle", MVector(-8.0, 0.0, -3.0), MVector());
    MFloatPointArray points;
    points.append(MFloatPoint(0.0f, 0.0f, 0.0f));
    points.append(MFloatPoint(0.0f, -7.0f, 0.0f));
    points.append(MFloatPoint(0.0f, 0.0f, 2.0f));
    MIntArray counts, connects;
    counts.append(3);
    for (int i = 0; i < 3; ++i)
        connects.append(i);
    MObject triangle = scene.findNode("triangle");
    MFnMesh().create(3, 1, points, counts, connects, triangle);
    // A locator that says it has no bounds adds nothing.
    Look unbounded;
    locator("free", unbounded, MVector(1000, 0, 0));

    // Every corner of every box, in the world, as each transform places it.
    std::vector<MPoint> corners;
    for (size_t i = 0; i < placed.size(); ++i) {
        MDagPath path;
        MDagPath::getAPathTo(scene.findNode("box" + std::to_string(i)), path);
        const MMatrix world = path.inclusiveMatrix();
        const MPoint lo = placed[i].box.min(), hi = placed[i].box.max();
        for (int c = 0; c < 8; ++c)
            corners.push_back(
                MPoint(c & 1 ? hi.x : lo.x, c & 2 ? hi.y : lo.y, c & 4 ? hi.z : lo.z) * world);
    }
    for (double x : {8.0, 10.0})
        for (double y : {8.0, 10.0})
            corners.push_back(MPoint(x, y, 9.0));
    for (const MPoint& p : {MPoint(-8, 0, -3), MPoint(-8, -7, -3), MPoint(-8, 0, -1)})
        corners.push_back(p);

    const std::pair<int, int> sizes[] = {{200, 100}, {100, 200}};
    for (const auto& [width, height] : sizes) {
        render(width, height);
        const host::ViewCamera& camera = host::View::active().lastCamera();
        const MMatrix toClip = camera.viewMatrix() * camera.projection();
        MBoundingBox all;
        for (const MPoint& corner : corners) {
            all.expand(corner);
            MPoint clip = MPoint(corner.x, corner.y, corner.z) * toClip;
            ASSERT_GT(clip.w, 0.0) << "a corner behind the camera";
            const double x = clip.x / clip.w, y = clip.y / clip.w, z = clip.z / clip.w;
            EXPECT_LE(std::abs(x), host::framingMargin + 1e-9)
                << width << "x" << height << " corner " << corner;
            EXPECT_LE(std::abs(y), host::framingMargin + 1e-9)
                << width << "x" << height << " corner " << corner;
            EXPECT_LE(std::abs(z), 1.0) << "clipped by a near or far plane: " << corner;
        }
        // Framed, not lost in the distance: a corner of the box around everything touches the
        // margin.
        double reach = 0.0;
        for (int c = 0; c < 8; ++c) {
            const MPoint lo = all.min(), hi = all.max();
            MPoint clip =
                MPoint(c & 1 ? hi.x : lo.x, c & 2 ? hi.y : lo.y, c & 4 ? hi.z : lo.z) * toClip;
            reach = std::max({reach, std::abs(clip.x / clip.w), std::abs(clip.y / clip.w)});
        }
        EXPECT_NEAR(reach, host::framingMargin, 1e-6) << width << "x" << height;
    }
}

TEST_F(ViewportTest, LocatorOutputsAreComputedBeforeTheyDraw) {
    Look look;
    locator("sized", look);
    ASSERT_TRUE(scene.setAttr("sized.sz", 3.0));
    render(32, 32);
    ASSERT_EQ(TestLocator::calls.size(), 1u);
    EXPECT_EQ(TestLocator::calls[0].built, 3.0);
    ASSERT_TRUE(scene.setAttr("sized.sz", 5.0));
    render(32, 32, "", M3dView::kFlatShaded);
    ASSERT_EQ(TestLocator::calls.size(), 2u);
    EXPECT_EQ(TestLocator::calls[1].built, 5.0);
    EXPECT_EQ(TestLocator::calls[1].style, M3dView::kFlatShaded);
}

TEST_F(ViewportTest, TheViewOutsideADraw) {
    M3dView view = M3dView::active3dView();
    MDagPath path;
    {
        host::MessageCapture quiet;
        EXPECT_FALSE(view.getCamera(path)); // no camera in the scene
        EXPECT_FALSE(M3dView().beginGL());  // not attached to a view
        EXPECT_FALSE(M3dView().getCamera(path));
        MMatrix matrix;
        EXPECT_FALSE(view.projectionMatrix(matrix)); // not between beginGL and endGL
    }
    camera("persp", MVector(0, 0, 10), MVector());
    ASSERT_TRUE(view.getCamera(path));
    EXPECT_EQ(std::string(path.partialPathName().asChar()), "perspShape");
    EXPECT_EQ(M3dView::numberOf3dViews(), 1u);

    // setCamera takes a camera shape or its transform, nothing else.
    camera("other", MVector(0, 0, -10), MVector(0, pi, 0));
    MDagPath other;
    MDagPath::getAPathTo(scene.findNode("other"), other);
    EXPECT_TRUE(view.setCamera(other));
    ASSERT_TRUE(view.getCamera(path));
    EXPECT_EQ(std::string(path.partialPathName().asChar()), "otherShape");
    std::string plain = transform("plain", MVector(), MVector());
    MDagPath notCamera;
    MDagPath::getAPathTo(scene.findNode(plain), notCamera);
    EXPECT_EQ(view.setCamera(notCamera), MS::kInvalidParameter);

    // The ray through the view's centre starts on the near plane and runs along the camera's
    // -Z axis: "other" is turned half a turn, so it looks down world +Z.
    host::View::active().setCameraName("other");
    std::string error;
    ASSERT_TRUE(host::View::active().setSize(40, 20, error));
    MPoint point;
    MVector direction;
    ASSERT_TRUE(view.viewToWorld(20, 10, point, direction));
    EXPECT_NEAR(point.x, 0.0, 1e-9);
    EXPECT_NEAR(point.z, -10.0 + 0.1, 1e-9);
    EXPECT_NEAR(direction.z, 1.0, 1e-9);
    EXPECT_EQ(view.portWidth(), 40);
    EXPECT_EQ(view.portHeight(), 20);

    // beginGL makes a context current: the matrices can be read.
    ASSERT_TRUE(view.beginGL());
    MMatrix projection;
    EXPECT_TRUE(view.projectionMatrix(projection));
    EXPECT_TRUE(view.endGL());
}

TEST_F(ViewportTest, BadSettingsAndMissingCamerasAreRefusedByName) {
    host::MessageCapture messages;
    host::ViewSettings settings;
    host::Image image;
    settings.width = 0;
    EXPECT_EQ(host::renderView(settings, image), MS::kInvalidParameter);
    settings.width = host::maxViewSize + 1;
    EXPECT_EQ(host::renderView(settings, image), MS::kInvalidParameter);
    EXPECT_TRUE(
        messages.contains(host::MessageKind::kError, std::to_string(host::maxViewSize + 1)));

    settings.width = 16;
    settings.height = 16;
    settings.camera = "nowhere";
    EXPECT_EQ(host::renderView(settings, image), MS::kInvalidParameter);
    EXPECT_TRUE(messages.contains(host::MessageKind::kError, "'nowhere'"));
    transform("justATransform", MVector(), MVector());
    settings.camera = "justATransform";
    EXPECT_EQ(host::renderView(settings, image), MS::kInvalidParameter);
    EXPECT_TRUE(messages.contains(host::MessageKind::kError, "not a camera"));
    EXPECT_EQ(image.width, 0) << "a failed render leaves the image alone";
}

TEST(ViewCamera, FilmFitDecidesWhichSideOfTheGateFillsThePicture) {
    host::Lens lens; // 35 mm, 1.41732 x 0.94488 inch gate (aspect 1.5)
    const double gateW = 0.5 * 1.41732 * 25.4 / 35.0, gateH = 0.5 * 0.94488 * 25.4 / 35.0;
    struct Case {
        int fit;
        double aspect;
        double halfWidth, halfHeight;
    };
    const Case cases[] = {
        {host::Lens::kFill, 2.0, gateW, gateW / 2.0},     // wider: the width fits
        {host::Lens::kFill, 1.0, gateH, gateH},           // narrower: the height fits
        {host::Lens::kHorizontal, 1.0, gateW, gateW},     //
        {host::Lens::kVertical, 2.0, gateH * 2.0, gateH}, //
        {host::Lens::kOverscan, 2.0, gateH * 2.0, gateH}, // the whole gate shows
        {host::Lens::kOverscan, 1.0, gateW, gateW},       //
    };
    for (const Case& c : cases) {
        lens.filmFit = c.fit;
        host::ViewCamera camera = host::cameraFromLens(MMatrix(), lens, c.aspect);
        EXPECT_NEAR(camera.halfWidth, c.halfWidth, 1e-12)
            << "fit " << c.fit << " aspect " << c.aspect;
        EXPECT_NEAR(camera.halfHeight, c.halfHeight, 1e-12) << "fit " << c.fit;
        EXPECT_FALSE(camera.orthographic);
    }
    lens.filmFit = host::Lens::kFill;
    lens.orthographic = true;
    lens.orthographicWidth = 12.0;
    host::ViewCamera ortho = host::cameraFromLens(MMatrix(), lens, 1.0);
    EXPECT_TRUE(ortho.orthographic);
    EXPECT_NEAR(ortho.halfHeight, 6.0 / 1.5, 1e-12);
    EXPECT_NEAR(ortho.halfWidth, 6.0 / 1.5, 1e-12);
    // A point on the near plane lands at depth -1, one on the far plane at +1.
    MPoint nearPoint = MPoint(0, 0, -ortho.nearClip) * ortho.projection();
    MPoint farPoint = MPoint(0, 0, -ortho.farClip) * ortho.projection();
    EXPECT_NEAR(nearPoint.z / nearPoint.w, -1.0, 1e-9);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0, 1e-9);
}

TEST_F(ViewportTest, CameraAttributesMakeTheLensAndValuesNoLensCanHaveAreReplaced) {
    camera("persp", MVector(0, 0, 10), MVector());
    host::Node* shape = host::cameraShapeOf(host::Graph::instance().find("persp"));
    ASSERT_NE(shape, nullptr);
    ASSERT_TRUE(scene.setAttr("perspShape.fl", 50.0));
    ASSERT_TRUE(scene.setAttr("perspShape.cap", std::vector<double>{2.0, 1.25})); // both apertures
    ASSERT_TRUE(scene.setAttr("perspShape.ff", 2.0));
    ASSERT_TRUE(scene.setAttr("perspShape.ncp", 1.0));
    ASSERT_TRUE(scene.setAttr("perspShape.fcp", 100.0));
    ASSERT_TRUE(scene.setAttr("perspShape.o", 1.0));
    ASSERT_TRUE(scene.setAttr("perspShape.ow", 7.0));
    host::Lens lens = host::lensOf(*shape);
    EXPECT_EQ(lens.focalLength, 50.0);
    EXPECT_EQ(lens.horizontalAperture, 2.0);
    EXPECT_EQ(lens.verticalAperture, 1.25);
    EXPECT_EQ(lens.filmFit, host::Lens::kVertical);
    EXPECT_EQ(lens.nearClip, 1.0);
    EXPECT_EQ(lens.farClip, 100.0);
    EXPECT_TRUE(lens.orthographic);
    EXPECT_EQ(lens.orthographicWidth, 7.0);

    ASSERT_TRUE(scene.setAttr("perspShape.fl", 0.0));
    ASSERT_TRUE(scene.setAttr("perspShape.hfa", -1.0));
    ASSERT_TRUE(scene.setAttr("perspShape.ow", 0.0));
    ASSERT_TRUE(scene.setAttr("perspShape.fcp", 0.5)); // in front of the near plane
    lens = host::lensOf(*shape);
    const host::Lens defaults;
    EXPECT_EQ(lens.focalLength, defaults.focalLength);
    EXPECT_EQ(lens.horizontalAperture, defaults.horizontalAperture);
    EXPECT_EQ(lens.orthographicWidth, defaults.orthographicWidth);
    EXPECT_EQ(lens.farClip, 1e4);

    // The view draws through such a camera.
    Look look;
    look.strip = {MPoint(-1, 0, 0), MPoint(1, 0, 0)};
    locator("line", look);
    render(32, 32);
    EXPECT_EQ(TestLocator::calls.size(), 1u);
}

TEST(PngFile, WritesAndReadsBackEveryPixel) {
    host::Image image;
    image.width = 5;
    image.height = 3;
    for (int i = 0; i < 15; ++i)
        for (int c = 0; c < 4; ++c)
            image.pixels.push_back(static_cast<unsigned char>(i * 17 + c * 3));
    const std::string path = testing::TempDir() + "viewport_roundtrip.png";
    ASSERT_TRUE(writeTestPng(path, image));
    host::Image back;
    ASSERT_TRUE(host::readPng(path, back));
    EXPECT_EQ(back.width, 5);
    EXPECT_EQ(back.height, 3);
    EXPECT_EQ(back.pixels, image.pixels);
}

TEST(PngFile, FailuresNameTheFile) {
    host::MessageCapture messages;
    host::Image image;
    image.width = 2;
    image.height = 2;
    image.pixels.assign(15, 0); // one byte short
    std::vector<unsigned char> bytes;
    std::string why;
    EXPECT_FALSE(host::encodePng(image, bytes, &why));
    EXPECT_EQ(why, "the image is 2x2 with 15 bytes of pixels");

    const std::string text = testing::TempDir() + "not_a_png.png";
    std::ofstream(text) << "plain text, not an image\n";
    host::Image read;
    EXPECT_FALSE(host::readPng(text, read));
    EXPECT_TRUE(messages.contains(host::MessageKind::kError, text));
    EXPECT_EQ(read.width, 0);

    // A FIFO without a writer is refused at once, not waited on.
    const std::string fifo = testing::TempDir() + "viewport_fifo.png";
    std::remove(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(host::readPng(fifo, read));
    EXPECT_TRUE(messages.contains(host::MessageKind::kError,
                                  "'" + fifo + "': it is a FIFO (named pipe), not a regular file"));
    std::remove(fifo.c_str());
}

} // namespace
