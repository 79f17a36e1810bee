#include "paint.h"

#include <algorithm>
#include <cmath>

#include "face.h"
#include "render/noise.h"

static const float INK_HALF_WIDTH = 3.5f;  // mm either side of where two colours meet
static const float PIPING = 10.0f;         // mm of trim along the costume's edges

static float clamp01(float x) { return std::min(1.0f, std::max(0.0f, x)); }
static float smooth(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
static cv::Vec3f mix(cv::Vec3f a, cv::Vec3f b, float t) { return a + (b - a) * t; }
static cv::Vec3f colour(const float* bgr) { return {bgr[0], bgr[1], bgr[2]}; }

enum Region { SKIN, SUIT, HAIR };

// Which flat colour a rest point wears: the costume is a sleeveless
// one-piece from the thighs to a scooped neck with straps over the
// shoulders; the hair a cap from the forehead, down the back as far as
// the body's hair reaches.
static Region regionAt(const FigureMesh& mesh, const Body& b, Part part, Vec3 p, Vec3 n) {
    float h = b.height;
    if (part == PART_TORSO) {
        float ax = std::fabs(p.x), front = smooth(-0.2f, 0.4f, n.z);
        float strapIn = 58 * b.shoulderWidth, strapOut = 100 * b.shoulderWidth;
        if (ax > strapIn && ax < strapOut) return SUIT;
        float back = 1415 * h - 30 * h * std::exp(-ax * ax / 7000), scoop = 1390 * h - 60 * h * std::exp(-ax * ax / 5600);
        float neck = back + (scoop - back) * front;
        bool armhole = ax >= strapOut && p.y > 1300 * h;
        return p.y < neck && !armhole ? SUIT : SKIN;
    }
    if (part == PART_LEG) return p.y > mesh.restJoints[L_HIP].y - 150 * h ? SUIT : SKIN;
    if (part == PART_HEAD || (part == PART_NECK && b.hairLength > 200)) {
        float back = smooth(0.35f, -0.6f, n.z);
        float line = 1652 * h + (1702 * h - b.hairLength - 1652 * h) * back + 8 * noise(p.x / 20, p.z / 20, float(b.seed % 97));
        return p.y > line ? HAIR : SKIN;
    }
    return SKIN;
}

static cv::Vec3f paintTexel(const FigureMesh& mesh, const Tube& tube, const Body& b, float theta, float along) {
    Vec3 p, n;
    tubeSurface(tube, theta, along, &p, &n);
    Region region = regionAt(mesh, b, tube.part, p, n);

    // Where another colour lies within a few millimetres along the surface,
    // the pen has drawn the seam; the costume's trim within a little more.
    auto differsWithin = [&](float mm) {
        float length = tubeLength(tube);
        Vec3 axisPoint = tube.start;
        axisPoint += (tube.end - tube.start) * (along / length);
        Vec3 d = p - axisPoint;
        float radius = std::max(3.0f, std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z));
        const float turns[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& t : turns) {
            Vec3 q, m;
            tubeSurface(tube, theta + t[0] * mm / radius, std::min(length, std::max(0.0f, along + t[1] * mm)), &q, &m);
            if (regionAt(mesh, b, tube.part, q, m) != region) return true;
        }
        return false;
    };

    float seed = float(b.seed % 97), h = b.height;
    cv::Vec3f c;
    if (region == SUIT) {
        bool stripe = b.striped && int(std::floor(p.y / (40 * h))) % 2 == 0;
        c = stripe || (!b.striped && differsWithin(PIPING)) ? colour(b.trim) : colour(b.suit);
    } else if (region == HAIR) {
        cv::Vec3f hair = colour(b.hair);
        float strand = noise(p.x / 3.5f + seed, p.y / 45, p.z / 3.5f);
        c = mix(hair, hair * 2.4f, smooth(0.35f, 0.5f, strand));
    } else {
        c = colour(b.skin);
        if (tube.part == PART_HEAD) c = paintFace(c, p, n, b);
        // Toes drawn as a few strokes across the tip of the foot.
        float tip = along / tubeLength(tube);
        if (tube.part == PART_FOOT && tip > 0.8f && n.y > -0.3f) {
            float across = 0.5f + 0.5f * std::sin(theta);
            float groove = 1 - smooth(0.025f, 0.05f, std::fabs(std::fmod(across * 4.0f, 1.0f) - 0.5f) - 0.43f);
            c = mix(c, INK_COLOUR, 0.6f * groove * smooth(0.8f, 0.86f, tip));
        }
    }
    if (differsWithin(INK_HALF_WIDTH)) c = INK_COLOUR;

    // The print is not quite even: a broad mottle and a few fibres.
    float mottle = 0.035f * noise(p.x / 90 + seed, p.y / 90, p.z / 90) + 0.02f * noise(p.x / 9, p.y / 9, p.z / 9 + seed);
    return c * (1.0f + mottle);
}

cv::Mat paintFigure(const FigureMesh& mesh, const Body& body) {
    const int w = FIGURE_PICTURE_WIDTH, h = FIGURE_PICTURE_HEIGHT;
    cv::Mat canvas(h, w, CV_32FC3, cv::Scalar(body.skin[0], body.skin[1], body.skin[2]));
    for (const Tube& tube : mesh.tubes) {
        // The whole pixel rectangle, margins included: texels outside the
        // tube's uv range repeat its edge, so filtering never meets a seam.
        const float inset = 2.0f;
        int x0 = int(std::lround(tube.uv[0] * w - inset)), y0 = int(std::lround(tube.uv[1] * h - inset));
        int x1 = int(std::lround(tube.uv[2] * w + inset)), y1 = int(std::lround(tube.uv[3] * h + inset));
        float len = tubeLength(tube);
#pragma omp parallel for schedule(static)
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                float fu = clamp01(((x + 0.5f) / w - tube.uv[0]) / (tube.uv[2] - tube.uv[0]));
                float fv = clamp01(((y + 0.5f) / h - tube.uv[1]) / (tube.uv[3] - tube.uv[1]));
                canvas.at<cv::Vec3f>(y, x) = paintTexel(mesh, tube, body, tubeAngle(tube, fu), fv * len);
            }
    }
    return canvas;
}

cv::Mat framePicture(const cv::Mat& canvas, int fileNumber) {
    const int w = canvas.cols, h = canvas.rows;
    cv::Mat out(h, w, CV_8UC3);
#pragma omp parallel for schedule(static)
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            cv::Vec3f c = canvas.at<cv::Vec3f>(y, x);
            uint32_t index = uint32_t(y * w + x);
            float grain = 0.02f * noiseUniform(index * 747796405u + uint32_t(fileNumber) * 2891336453u);
            for (int k = 0; k < 3; ++k) out.at<cv::Vec3b>(y, x)[k] = uint8_t(std::lround(clamp01(c[k] + grain) * 255.0f));
        }
    return out;
}
