#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "assets/shatter_pieces.h"
#include "lib/delaunay/delaunay.h"
#include "platform/crt_rand.h"
#include "render/noise.h"

static bool samePieces(const std::vector<ShatterPiece>& a, const std::vector<ShatterPiece>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(ShatterPiece)) == 0;
}

static Vec2 centroidOf(const ShatterPiece& piece) {
    // Texture coordinates are the unscaled corners mapped to 0..1.
    float x = 0, y = 0;
    for (const Vec2& t : piece.texCoords) {
        x += (t.x - 0.5f) * 2.0f;
        y += (t.y - 0.5f) * 2.0f;
    }
    return {x * 0.3333f, y * 0.3333f};
}

TEST(ShatterPoints, CornersFirstThenGeneratorPairsInRange) {
    crtSrand(4234);
    std::vector<double> xy = shatterPoints(30);
    ASSERT_EQ(xy.size(), 2u * 34);
    const double corners[] = {-1, -1, 1, -1, 1, 1, -1, 1};
    for (int i = 0; i < 8; i++) EXPECT_EQ(xy[i], corners[i]);
    crtSrand(4234);
    int r1 = crtRand(), r2 = crtRand();
    EXPECT_EQ(xy[8], static_cast<float>(r1 / 32767.0 * 2 - 1));
    EXPECT_EQ(xy[9], static_cast<float>(r2 / 32767.0 * 2 - 1));
    for (double v : xy) {
        EXPECT_GE(v, -1.0);
        EXPECT_LE(v, 1.0);
        EXPECT_EQ(v, static_cast<double>(static_cast<float>(v)));  // single precision values
    }
}

TEST(ShatterPieces, RepeatExactlyWhateverTheGeneratorHeld) {
    crtSrand(99);
    std::vector<ShatterPiece> a = screenShatterPieces(30, 0.37f);
    crtRand();
    std::vector<ShatterPiece> b = screenShatterPieces(30, 0.37f);
    EXPECT_TRUE(samePieces(a, b));
    EXPECT_FALSE(samePieces(a, screenShatterPieces(30, 0.61f)));

    std::vector<ShatterPiece> c = imageShatterPieces(0.2f);
    crtSrand(7);
    EXPECT_TRUE(samePieces(c, imageShatterPieces(0.2f)));
}

TEST(ShatterPieces, LeaveTheGeneratorAfterTheirOwnDraws) {
    // The scenes keep drawing from the generator: a screen shatter uses two
    // values a point, an image shatter also one per piece.
    screenShatterPieces(20, 0.5f);
    int next = crtRand();
    crtSrand(4234);
    for (int i = 0; i < 40; i++) crtRand();
    EXPECT_EQ(next, crtRand());

    size_t pieces = imageShatterPieces(0.5f).size();
    next = crtRand();
    crtSrand(4234);
    for (size_t i = 0; i < 20 + pieces; i++) crtRand();
    EXPECT_EQ(next, crtRand());
}

TEST(ShatterPieces, PieceCountsFollowTheTriangulation) {
    // No random points: the four corners make two triangles.
    EXPECT_EQ(screenShatterPieces(0, 1.0f).size(), 2u);
    EXPECT_EQ(screenShatterPieces(-5, 1.0f).size(), 2u);

    // An image always uses the corners and 10 points, 14 in all.
    crtSrand(4234);
    std::vector<double> xy = shatterPoints(10);
    EXPECT_EQ(xy.size(), 28u);
    delaunay::Triangulation mesh = delaunay::triangulate(xy.data(), 14);
    std::vector<ShatterPiece> pieces = imageShatterPieces(0.0f);
    ASSERT_EQ(pieces.size() * 3, mesh.triangles.size());
    for (size_t p = 0; p < pieces.size(); p++)
        for (int k = 0; k < 3; k++) {
            uint32_t corner = mesh.triangles[p * 3 + k];
            EXPECT_EQ(pieces[p].texCoords[k].x, static_cast<float>(xy[2 * corner]) * 0.5f + 0.5f);
            EXPECT_EQ(pieces[p].texCoords[k].y, static_cast<float>(xy[2 * corner + 1]) * 0.5f + 0.5f);
        }
}

TEST(ShatterPieces, PiecesCoverTheQuadOnce) {
    // Unscaled, the pieces tile the quad: their areas add up to 2 x 2.
    for (int count : {0, 20, 30}) {
        double area = 0;
        for (const ShatterPiece& piece : screenShatterPieces(count, 5.0f)) {
            const Vec2* t = piece.texCoords;
            area += std::fabs((t[1].x - t[0].x) * (t[2].y - t[0].y) - (t[2].x - t[0].x) * (t[1].y - t[0].y)) * 2.0;
        }
        EXPECT_NEAR(area, 4.0, 1e-4) << count << " points";
    }
}

TEST(ShatterPieces, ScreenPiecesSettledWellPastOne) {
    float progress = 7.3f;
    std::vector<ShatterPiece> pieces = screenShatterPieces(30, progress);
    ASSERT_GT(pieces.size(), 30u);
    bool anyDrift = false;
    for (const ShatterPiece& piece : pieces) {
        Vec2 c = centroidOf(piece);
        float s = std::sqrt(c.x * c.x + c.y * c.y) * 0.03f + 1.0f;
        EXPECT_EQ(piece.push.x, 0.0f);  // K = 0
        EXPECT_EQ(piece.push.y, 0.0f);
        EXPECT_EQ(piece.turnDegrees, 0.0f);
        // Only the small drift along the centroid's direction is left.
        EXPECT_LE(std::fabs(piece.drift.x), 0.03f * std::fabs(c.x) + 1e-6f);
        EXPECT_LE(std::fabs(piece.drift.y), 0.03f * std::fabs(c.y) + 1e-6f);
        EXPECT_NEAR(piece.drift.x * c.y, -piece.drift.y * c.x, 1e-6f);
        anyDrift = anyDrift || piece.drift.x != 0.0f || piece.drift.y != 0.0f;
        for (int k = 0; k < 3; k++) {
            EXPECT_NEAR(piece.corners[k].x, s * (piece.texCoords[k].x - 0.5f) * 2.0f, 1e-6f);
            EXPECT_NEAR(piece.corners[k].y, s * (piece.texCoords[k].y - 0.5f) * 2.0f, 1e-6f);
            EXPECT_EQ(piece.corners[k].z, 0.0f);
        }
    }
    EXPECT_TRUE(anyDrift);
}

TEST(ShatterPieces, ScreenPiecesStartFlungOutAndTurned) {
    // At progress 0 every piece sits about three centroids further out.
    int turned = 0;
    for (const ShatterPiece& piece : screenShatterPieces(30, 0.0f)) {
        Vec2 c = centroidOf(piece);
        EXPECT_NEAR(piece.push.x, 3.0f * c.x, 0.31f * std::fabs(c.x) + 1e-5f);
        EXPECT_NEAR(piece.push.y, -3.0f * c.y, 0.31f * std::fabs(c.y) + 1e-5f);
        EXPECT_NEAR(piece.pivot.x, c.x, 1e-6f);
        EXPECT_NEAR(piece.pivot.y, -c.y, 1e-6f);
        EXPECT_LE(std::fabs(piece.turnDegrees), 70.0f);
        turned += piece.turnDegrees != 0.0f;
    }
    EXPECT_GT(turned, 10);
}

TEST(ShatterPieces, ImagePiecesSettledWellPastOne) {
    std::vector<ShatterPiece> pieces = imageShatterPieces(3.0f);
    ASSERT_FALSE(pieces.empty());
    for (size_t p = 0; p < pieces.size(); p++) {
        const ShatterPiece& piece = pieces[p];
        Vec2 c = centroidOf(piece);
        float s = std::sqrt(c.x * c.x + c.y * c.y) * 0.03f + 1.0f;
        float g = static_cast<float>(p * 3) / static_cast<float>(pieces.size() * 3);
        float u = noise((g * 10.1f + 3.0f * 0.02f) * 40.0f, 0.5f, 0.5f) * 0.01f;
        for (int k = 0; k < 3; k++) {
            float px = (piece.texCoords[k].x - 0.5f) * 2.0f, py = (piece.texCoords[k].y - 0.5f) * 2.0f;
            EXPECT_NEAR(piece.corners[k].x, s * px + u, 1e-5f);
            EXPECT_NEAR(piece.corners[k].y, s * py, 1e-5f);
            EXPECT_FLOAT_EQ(piece.corners[k].z, g * 0.1f);  // later pieces stack in front
        }
    }
}

TEST(ShatterPieces, ImagePiecesStartDisplacedAndSettleInOrder) {
    // At progress 0 the first piece is pushed off by about (0.5, 0.1, 0.1)
    // turned; every later piece settles earlier, since its share g is larger.
    std::vector<ShatterPiece> start = imageShatterPieces(0.0f);
    std::vector<ShatterPiece> settled = imageShatterPieces(1.0f);
    ASSERT_EQ(start.size(), settled.size());
    float dx = start[0].corners[0].x - settled[0].corners[0].x;
    float dy = start[0].corners[0].y - settled[0].corners[0].y;
    EXPECT_GT(std::sqrt(dx * dx + dy * dy), 0.05f);
    EXPECT_EQ(start[0].corners[0].z, settled[0].corners[0].z);
    std::vector<ShatterPiece> late = imageShatterPieces(0.5f);
    const ShatterPiece& last = late.back();
    const ShatterPiece& lastSettled = settled.back();
    // The last piece has g > 0.5, so at progress 0.5 it is already home.
    EXPECT_NEAR(last.corners[0].y, lastSettled.corners[0].y, 1e-6f);
}
