// The feather node's drawing, read back through OpenGL feedback: colours per display status
// with "render" on and off, the proxy boxes, and the undoing of the parent's own matrix; and
// the node drawn by the host's viewport.

#include "featherNodeFixture.h"
#include "locatorFeedback.h"

#include "feather/featherInfo.h"
#include "nodes/feather/featherDrawing.h"

#include <host/viewport.h>

#include <maya/M3dView.h>
#include <maya/MDagPath.h>
#include <maya/MMatrix.h>

#include <cmath>
#include <vector>

namespace {

class FeatherNodeDrawTest : public FeatherNodeTest, protected locatorFeedback {
  protected:
    std::vector<fedSegment> drawAndFeedBack(const std::string& feather,
                                            M3dView::DisplayStatus status) {
        return locatorFeedback::drawAndFeedBack(featherNode(feather), scene.findNode(feather),
                                                status);
    }

    // A node with one flat guide, built.
    std::string builtFeather() {
        const std::string feather = createFeatherNode();
        connectGuide(createGuide("guide", MPoint(-1, 0, -0.5)), feather, 0);
        build(feather);
        EXPECT_EQ(featherNode(feather).builtFeathers().size(), 1u);
        return feather;
    }
};

TEST_F(FeatherNodeDrawTest, RenderOnShadesTheLeadAndDormantFeathersAndFlatColoursTheRest) {
    const std::string feather = builtFeather();
    const std::vector<featherGeometry>& built = featherNode(feather).builtFeathers();
    const std::vector<const MFloatPointArray*> strips = stripsOf(built);
    const featherInfo& info = *featherNode(feather).description();

    for (const auto& [status, brightness] :
         {std::make_pair(M3dView::kLead, 1.0f), std::make_pair(M3dView::kDormant, 0.6f)}) {
        SCOPED_TRACE(status);
        const std::vector<std::vector<fedVertex>> drawn =
            group(drawAndFeedBack(feather, status), strips);
        for (size_t s = 0; s < strips.size(); ++s) {
            const unsigned int n = strips[s]->length();
            ASSERT_EQ(drawn[s].size(), n) << "strip " << s;
            for (unsigned int k = 0; k < n; ++k) {
                const float t = static_cast<float>(k) / static_cast<float>(n);
                const std::string at =
                    "strip " + std::to_string(s) + " vertex " + std::to_string(k);
                if (s == 0) // the rachis keeps its full colours
                    expectColour(drawn[s][k],
                                 (1 - t) * info.rachisRootColor.r + t * info.rachisTipColor.r,
                                 (1 - t) * info.rachisRootColor.g + t * info.rachisTipColor.g,
                                 (1 - t) * info.rachisRootColor.b + t * info.rachisTipColor.b, at);
                else
                    expectColour(drawn[s][k],
                                 ((1 - t) * info.rootColor.r + t * info.tipColor.r) * brightness,
                                 ((1 - t) * info.rootColor.g + t * info.tipColor.g) * brightness,
                                 ((1 - t) * info.rootColor.b + t * info.tipColor.b) * brightness,
                                 at);
            }
        }
    }
    // Distinct defaults, so that a swapped pair would show.
    EXPECT_FLOAT_EQ(info.rachisRootColor.r, 0.3f);
    EXPECT_FLOAT_EQ(info.rachisTipColor.r, 0.8f);
    EXPECT_FLOAT_EQ(info.rootColor.r, 0.7f);

    for (M3dView::DisplayStatus status : {M3dView::kActive, M3dView::kTemplate, M3dView::kHilite}) {
        const MColor c = featherNode(feather).colorRGB(status);
        for (const fedSegment& s : drawAndFeedBack(feather, status))
            expectColour(s.a, c.r, c.g, c.b, "status " + std::to_string(status));
    }
}

TEST_F(FeatherNodeDrawTest, RenderOffDrawsYellowByStatusAndTheStatusColourOtherwise) {
    const std::string feather = builtFeather();
    ASSERT_TRUE(scene.setAttr(feather + ".render", 0.0));
    const struct {
        M3dView::DisplayStatus status;
        float r, g, b;
    } cases[] = {
        {M3dView::kLead, 1.0f, 1.0f, 0.0f},     {M3dView::kDormant, 0.6f, 0.6f, 0.0f},
        {M3dView::kActive, 1.0f, 1.0f, 1.0f},   {M3dView::kTemplate, 0.47f, 0.47f, 0.47f},
        {M3dView::kHilite, 0.0f, 0.85f, 0.85f},
    };
    const size_t segments = [&] {
        size_t total = 0;
        for (const MFloatPointArray* strip : stripsOf(featherNode(feather).builtFeathers()))
            total += strip->length() - 1;
        return total;
    }();
    for (const auto& c : cases) {
        const std::vector<fedSegment> drawn = drawAndFeedBack(feather, c.status);
        ASSERT_EQ(drawn.size(), segments) << c.status;
        for (const fedSegment& s : drawn) {
            expectColour(s.a, c.r, c.g, c.b, "status " + std::to_string(c.status));
            expectColour(s.b, c.r, c.g, c.b, "status " + std::to_string(c.status));
        }
    }
}

TEST_F(FeatherNodeDrawTest, ProxyBoxesAreGreenWireBoxesAroundEveryFeather) {
    const std::string feather = builtFeather();
    ASSERT_TRUE(scene.setAttr(feather + ".render", 0.0));
    const std::vector<fedSegment> plain = drawAndFeedBack(feather, M3dView::kDormant);
    ASSERT_TRUE(scene.setAttr(feather + ".displayProxyBoundingBox", 1.0));
    const std::vector<fedSegment> boxed = drawAndFeedBack(feather, M3dView::kDormant);
    ASSERT_EQ(boxed.size(), plain.size() + 12) << "two rectangles and four verticals";

    const MBoundingBox box = featherNode(feather).builtFeathers()[0].proxyBox;
    float x0, y0, x1, y1;
    const MPoint lo = box.min(), hi = box.max();
    project(MFloatPoint(float(lo.x), float(lo.y), float(lo.z)), x0, y0);
    project(MFloatPoint(float(hi.x), float(hi.y), float(hi.z)), x1, y1);
    float lowX = 1e9f, highX = -1e9f, lowY = 1e9f, highY = -1e9f;
    for (size_t k = plain.size(); k < boxed.size(); ++k) {
        expectColour(boxed[k].a, 0.0f, 1.0f, 0.0f, "box");
        for (const fedVertex& v : {boxed[k].a, boxed[k].b}) {
            lowX = std::min(lowX, v.x);
            highX = std::max(highX, v.x);
            lowY = std::min(lowY, v.y);
            highY = std::max(highY, v.y);
        }
    }
    EXPECT_NEAR(lowX, x0, 1e-3);
    EXPECT_NEAR(highX, x1, 1e-3);
    EXPECT_NEAR(lowY, y0, 1e-3);
    EXPECT_NEAR(highY, y1, 1e-3);
    EXPECT_GT(box.height(), 0.0) << "a box with a height, so the verticals show";

    // Feathers without geometry still get their (empty) box; no feathers, nothing at all.
    ASSERT_TRUE(scene.setAttr(feather + ".active", 0.0));
    build(feather);
    EXPECT_TRUE(drawAndFeedBack(feather, M3dView::kLead).empty());
}

TEST_F(FeatherNodeDrawTest, TheParentTransformIsUndoneSoFeathersStayInWorldSpace) {
    ASSERT_TRUE(scene.createNode("transform", "holder"));
    std::string feather;
    ASSERT_TRUE(scene.createNode("quillo", "", "holder", &feather)) << scene.lastError();
    ASSERT_TRUE(scene.setAttr("holder.translate", std::vector<double>{5, -3, 2}));
    ASSERT_TRUE(scene.setAttr("holder.rotate", std::vector<double>{0, 0.7, 0.3}));
    connectGuide(createGuide("guide", MPoint(-1, 1, 0)), feather, 0);
    build(feather);
    ASSERT_TRUE(scene.setAttr(feather + ".render", 0.0));

    const std::vector<const MFloatPointArray*> strips =
        stripsOf(featherNode(feather).builtFeathers());
    const std::vector<std::vector<fedVertex>> drawn =
        group(drawAndFeedBack(feather, M3dView::kDormant), strips);
    for (size_t s = 0; s < strips.size(); s += 7) {
        for (unsigned int k = 0; k < strips[s]->length(); ++k) {
            float x, y;
            project((*strips[s])[k], x, y);
            EXPECT_NEAR(drawn[s][k].x, x, 2e-3) << "strip " << s << " vertex " << k;
            EXPECT_NEAR(drawn[s][k].y, y, 2e-3) << "strip " << s << " vertex " << k;
        }
    }
}

TEST_F(FeatherNodeDrawTest, TheViewportDrawsTheFeathers) {
    const std::string feather = builtFeather();
    ASSERT_TRUE(scene.setAttr(feather + ".render", 0.0));
    auto countDarkYellow = [&] {
        host::ViewSettings settings;
        settings.width = 160;
        settings.height = 120;
        host::Image image;
        EXPECT_TRUE(host::renderView(settings, image));
        int count = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const unsigned char* p = image.pixel(x, y);
                count += p[0] == 153 && p[1] == 153 && p[2] == 0;
            }
        return count;
    };
    EXPECT_GT(countDarkYellow(), 100) << "dormant feathers with render off";
    ASSERT_TRUE(scene.setAttr(feather + ".active", 0.0));
    EXPECT_EQ(countDarkYellow(), 0) << "nothing once the node is inactive";
}

} // namespace
