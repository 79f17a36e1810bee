#include "paint.h"

#include <algorithm>
#include <cmath>

#include "render/noise.h"

static const float PI = 3.14159265f;

static float clamp01(float x) { return std::min(1.0f, std::max(0.0f, x)); }
static float smooth(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
static cv::Vec3f mix(cv::Vec3f a, cv::Vec3f b, float t) { return a + (b - a) * t; }
static float length(Vec3 v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

// Soft-edged ellipse mark centred at (cx, cy) on the front of the head.
static float mark(const Vec3& p, float cx, float cy, float rx, float ry) {
    float dx = (p.x - cx) / rx, dy = (p.y - cy) / ry;
    return 1 - smooth(0.6f, 1.0f, std::sqrt(dx * dx + dy * dy));
}

struct Texel {
    cv::Vec3f colour;
    float density;
};

// Eyes, brows, the nose's shadow and the mouth, drawn where the head faces front.
static cv::Vec3f face(cv::Vec3f c, const Vec3& p, const Vec3& n, const Body& b) {
    float front = smooth(0.35f, 0.6f, n.z), h = b.height;
    cv::Vec3f ink(0.10f, 0.13f, 0.20f), lips(0.30f, 0.32f, 0.66f), cheek(0.42f, 0.45f, 0.86f);
    float eyes = 0, brows = 0;
    for (float side : {-1.0f, 1.0f}) {
        eyes = std::max(eyes, mark(p, side * 31, 1600 * h, 14, 5.5f));
        float arc = 1.5f * std::fabs(p.x - side * 31) / 20.0f;
        brows = std::max(brows, mark({p.x, p.y + arc * arc * 4, p.z}, side * 31, 1624 * h, 19, 3.2f));
        float blush = mark(p, side * 44, 1566 * h, 24, 18);
        c = mix(c, cheek, 0.28f * blush * front);
    }
    float nose = mark(p, 7, 1578 * h, 3.5f, 20) * 0.6f + mark(p, 0, 1560 * h, 13, 3.5f) * 0.5f;
    float mouth = mark(p, 0, 1538 * h, 21, 4.5f);
    c = mix(c, ink, front * std::max(eyes, brows * 0.8f));
    c = mix(c, ink, front * nose * 0.7f);
    c = mix(c, lips, front * mouth * 0.8f);
    return c;
}

static Texel paintTexel(const FigureMesh& mesh, const Tube& tube, const Body& b, float theta, float along) {
    Vec3 p, n;
    tubeSurface(tube, theta, along, &p, &n);
    float seed = float(b.seed % 97);
    cv::Vec3f skin(b.skin[0], b.skin[1], b.skin[2]);
    cv::Vec3f light = mix(skin, cv::Vec3f(0.82f, 0.90f, 0.98f), 0.45f);
    cv::Vec3f shadow = cv::Vec3f(skin[0] * 0.58f, skin[1] * 0.62f, skin[2] * 0.76f);  // warm, toward umber
    cv::Vec3f rose(0.45f, 0.47f, 0.88f);

    // Broad tone, then strokes that run along the limb, posterised into a
    // few paint layers.
    float broad = noise(p.x / 170 + seed, p.y / 170, p.z / 170);
    float arc = theta * 60.0f;
    float stroke = noise(arc / 13 + seed, along / 75, 3.7f + float(tube.part)) * 0.7f +
                   noise(p.x / 9, p.y / 9, p.z / 9 + seed) * 0.3f;
    float layer = std::floor(clamp01(stroke * 1.1f + 0.5f) * 4.0f) / 3.0f;
    cv::Vec3f c = mix(shadow, light, clamp01(0.45f + 0.4f * broad + 0.5f * (layer - 0.5f)));

    // Flushed knees, elbows, knuckles and toes.
    float flush = 0;
    for (Joint j : {L_KNEE, R_KNEE, L_ELBOW, R_ELBOW})
        flush = std::max(flush, 1 - smooth(20, 80, length(p - mesh.restJoints[j])));
    if (tube.part == PART_HAND || tube.part == PART_FOOT) flush = std::max(flush, 0.55f * smooth(0.3f, 1.0f, along / tubeLength(tube)));
    c = mix(c, rose, 0.3f * flush);

    if (tube.part == PART_HEAD) c = face(c, p, n, b);

    // Hair: a cap from the forehead over the crown, down the back as far as
    // the body's hair reaches.
    if (tube.part == PART_HEAD || (tube.part == PART_NECK && b.hairLength > 200)) {
        float h = b.height;
        float back = smooth(0.35f, -0.6f, n.z);
        float line = 1652 * h + (1702 * h - b.hairLength - 1652 * h) * back + 8 * noise(p.x / 20, p.z / 20, seed);
        float hair = smooth(line - 4, line + 4, p.y);
        float strand = noise(p.x / 3.5f + seed, p.y / 45, p.z / 3.5f);
        cv::Vec3f hc(b.hair[0], b.hair[1], b.hair[2]);
        c = mix(c, mix(hc, hc * 2.2f, clamp01(0.5f + strand)), hair);
    }

    // Fingers and toes: grooves across the tips.
    float tip = along / tubeLength(tube);
    if ((tube.part == PART_HAND && tip > 0.5f) || (tube.part == PART_FOOT && tip > 0.78f)) {
        float across = tube.part == PART_HAND ? 0.5f - 0.5f * std::cos(theta) : 0.5f + 0.5f * std::sin(theta);
        float groove = 1 - smooth(0.0f, 0.1f, std::fabs(std::fmod(across * 4.0f, 1.0f) - 0.5f) - 0.32f);
        c = mix(c, shadow * 0.8f, 0.3f * groove * smooth(0.5f, 0.7f, tip));
    }

    // More ink on the sides turned down and away from the front light, and
    // in the creases where tubes meet.
    float crease = 0;
    if (tube.part == PART_TORSO) crease = 1 - smooth(40, 130, std::fabs(p.y - mesh.restJoints[L_HIP].y));
    float density = clamp01(0.16f - 0.42f * n.z - 0.12f * n.y + 0.3f * crease + 0.15f * noise(p.x / 60, p.y / 60, p.z / 60));
    if (tube.part == PART_HEAD || tube.part == PART_HAND || tube.part == PART_FOOT) density *= 0.5f;  // keep small parts clear
    return {c, density};
}

Canvas paintFigure(const FigureMesh& mesh, const Body& body) {
    const int w = FIGURE_PICTURE_WIDTH, h = FIGURE_PICTURE_HEIGHT;
    Canvas canvas;
    cv::Vec3f skin(body.skin[0], body.skin[1], body.skin[2]);
    canvas.colour = cv::Mat(h, w, CV_32FC3, cv::Scalar(skin[0], skin[1], skin[2]));
    canvas.density = cv::Mat(h, w, CV_32F, cv::Scalar(0));
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
                float theta = 2 * PI * fu, along = fv * len;
                Texel t = paintTexel(mesh, tube, body, theta, along);
                canvas.colour.at<cv::Vec3f>(y, x) = t.colour;
                canvas.density.at<float>(y, x) = t.density;
            }
    }
    return canvas;
}

cv::Mat framePicture(const Canvas& canvas, int fileNumber) {
    const int w = canvas.colour.cols, h = canvas.colour.rows;
    cv::Mat out(h, w, CV_8UC3);
    float jitter = 0.5f * noiseUniform(uint32_t(fileNumber) * 2654435761u);
    float boil = float(fileNumber) * 0.37f;
    cv::Vec3f ink(0.16f, 0.17f, 0.26f);
#pragma omp parallel for schedule(static)
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            cv::Vec3f c = canvas.colour.at<cv::Vec3f>(y, x);
            float density = canvas.density.at<float>(y, x);
            // Straight diagonal strokes across the picture, wavering a little:
            // on the body they wrap around the limbs like engraved shading.
            float wobble = 0.35f * noise(x / 23.0f, y / 23.0f, boil);
            float a = std::fabs(std::fmod((x + y) / 5.0f + jitter + wobble + 1000.0f, 1.0f) - 0.5f);
            float b = std::fabs(std::fmod((x - y) / 6.0f - jitter + wobble + 1000.0f, 1.0f) - 0.5f);
            // Line width grows with the density; the cross-hatch only in the darkest parts.
            float line = smooth(0.42f - 0.2f * density, 0.5f - 0.2f * density, a) * smooth(0.1f, 0.35f, density);
            float cross = smooth(0.36f, 0.46f, b) * smooth(0.45f, 0.75f, density);
            c = mix(c, ink, 0.5f * std::max(line, cross));
            uint32_t index = uint32_t(y * w + x);
            float grain = 0.035f * noiseUniform(index * 747796405u + uint32_t(fileNumber) * 2891336453u);
            for (int k = 0; k < 3; ++k)
                out.at<cv::Vec3b>(y, x)[k] = uint8_t(std::lround(clamp01(c[k] + grain) * 255.0f));
        }
    return out;
}
