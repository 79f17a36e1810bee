// Every frame of the show is a full sheet: sampled every 8 s of raw time
// from 2 s to the end, at most 1 % of the scene target is left as the clear
// colour (alpha 0) that no cut-out, backdrop or line ever covered. A picture
// too narrow for the copies its group lays side by side, or a backdrop the
// camera sees past, shows here as a bare strip.
//
// Where the scenes' own geometry leaves a strip that no picture's shape can
// reach (a backdrop's height is fixed by its draw, only its width follows
// the picture), the sample has its own allowance, a little above what the
// show leaves there, and the reason.
#include <map>
#include <string>

#include "tests/show/scene_test_kit.h"

using namespace scene_test;

namespace {

struct Allowance {
    double share;
    const char* why;
};

const std::map<int, Allowance> kAllowed = {
    {66, {0.045, "the receding back wall's foot rises above the frame's foot; the television's open screen looks onto it"}},
    {74, {0.017, "the back wall's foot, as at 66 s"}},
    {122, {0.046, "the cave has risen out of view and the moon strip's top edge lies below the frame's top"}},
    {130, {0.037, "a band between the stage's foot and the moon strip, crossed only by the ropes (a loosely tied rope leaves more of it bare than the old net)"}},
    {138, {0.015, "the moon strip's foot lies a few rows above the frame's foot"}},
    {162, {0.31, "the stage has risen out of view and the grotto comes at 161 s: only the skull scene's cut-outs are in frame"}},
    {170, {0.117, "the grotto's foot lies above the frame's foot and only an angel passes below it"}},
    {210, {0.035, "the ascent: open sky between clouds, stars and planets, no backdrop"}},
    {218, {0.024, "the ascent's open sky"}},
    {226, {0.143, "the ascent's open sky"}},
    {234, {0.52, "the ascent's open sky, the clouds thinning before the fade"}},
    {242, {0.66, "the ascent's open sky at the fade"}},
};

// The composed scene as the groups left it, before the passes: the post pass
// trades its own colour texture for the scene target's resolved one, so after
// a frame the post target holds it.
cv::Mat composedScene() { return targetPicture(*SceneTest::part->app->postTarget); }

double bareShare(const cv::Mat& rgba) {
    cv::Mat alpha;
    cv::extractChannel(rgba, alpha, 3);
    return cv::countNonZero(alpha == 0) / static_cast<double>(alpha.total());
}

TEST_F(SceneTest, EverySampledFrameIsCoveredToTheEdges) {
    for (int raw = 2;; raw += 8) {
        traceRaw(static_cast<float>(raw));
        if (part->sceneTime >= 273) break;
        auto allowed = kAllowed.find(raw);
        double limit = allowed == kAllowed.end() ? 0.01 : allowed->second.share;
        double bare = bareShare(composedScene());
        EXPECT_LE(bare, limit) << "raw " << raw << " s (scene " << part->sceneTime << " s): " << 100 * bare << " % never drawn"
                               << (allowed == kAllowed.end() ? "" : std::string(", allowed because ") + allowed->second.why);
    }
}

}  // namespace
