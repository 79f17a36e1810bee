#include "figure.h"

#include <algorithm>
#include <cmath>

static const float PI = 3.14159265f;

static const Joint PARENT[JOINT_COUNT] = {
    PELVIS, PELVIS, SPINE, CHEST, NECK,
    CHEST, L_SHOULDER, L_ELBOW, L_WRIST,
    CHEST, R_SHOULDER, R_ELBOW, R_WRIST,
    PELVIS, L_HIP, L_KNEE, L_ANKLE,
    PELVIS, R_HIP, R_KNEE, R_ANKLE,
};

static Vec3 add(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
static float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
static Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
static float smooth(float e0, float e1, float x) {
    float t = std::min(1.0f, std::max(0.0f, (x - e0) / (e1 - e0)));
    return t * t * (3 - 2 * t);
}

Body walkerBody() {
    return {1.0f, 1.0f, 1.0f, 1.0f, {0.60f, 0.70f, 0.87f}, {0.10f, 0.14f, 0.22f}, 120.0f, 4800u};
}

Body secondBody() {
    return {0.96f, 0.92f, 1.08f, 0.97f, {0.47f, 0.58f, 0.78f}, {0.07f, 0.09f, 0.13f}, 260.0f, 300u};
}

// The 1700 mm skeleton, stretched to the body's proportions.
static void restJoints(const Body& b, Vec3* j) {
    const Vec3 base[JOINT_COUNT] = {
        {0, 960, 0},    {0, 1110, -10},  {0, 1300, -10},  {0, 1455, -15},   {0, 1530, -5},
        {175, 1410, -20}, {200, 1120, -35}, {222, 870, -10}, {232, 690, 0},
        {-175, 1410, -20}, {-200, 1120, -35}, {-222, 870, -10}, {-232, 690, 0},
        {92, 905, 0},   {98, 495, 10},   {100, 85, -15},  {105, 15, 175},
        {-92, 905, 0},  {-98, 495, 10},  {-100, 85, -15}, {-105, 15, 175},
    };
    for (int k = 0; k < JOINT_COUNT; ++k) j[k] = {base[k].x, base[k].y * b.height, base[k].z * b.height};
    for (int side = 0; side < 2; ++side) {
        int shoulder = side ? R_SHOULDER : L_SHOULDER, hip = side ? R_HIP : L_HIP;
        float armShift = base[shoulder].x * (b.shoulderWidth - 1), legShift = base[hip].x * (b.hipWidth - 1);
        for (int k = shoulder; k < shoulder + 4; ++k) j[k].x += armShift;
        for (int k = hip; k < hip + 4; ++k) j[k].x += legShift;
    }
}

float tubeLength(const Tube& tube) {
    Vec3 d = tube.end - tube.start;
    return std::sqrt(dot(d, d));
}

static void tubeFrame(const Tube& tube, Vec3* axis, Vec3* front, Vec3* side) {
    *axis = (tube.end - tube.start).normalized();
    *front = (tube.front - *axis * dot(tube.front, *axis)).normalized();
    *side = cross(*axis, *front);
}

void tubeSurface(const Tube& tube, float theta, float along, Vec3* point, Vec3* outward) {
    float length = tubeLength(tube);
    float s = std::min(1.0f, std::max(0.0f, along / length));
    const std::vector<TubeKey>& k = tube.keys;
    size_t i = 0;
    while (i + 2 < k.size() && s > k[i + 1].s) ++i;
    float t = smooth(k[i].s, k[i + 1].s, s);
    float side = k[i].side + (k[i + 1].side - k[i].side) * t;
    float front = k[i].front + (k[i + 1].front - k[i].front) * t;
    float back = k[i].back + (k[i + 1].back - k[i].back) * t;

    float round = 1.0f;
    if (along < tube.startCap) {
        float c = 1 - along / tube.startCap;
        round = std::sqrt(std::max(0.0f, 1 - c * c));
    } else if (along > length - tube.endCap) {
        float c = (along - (length - tube.endCap)) / tube.endCap;
        round = std::sqrt(std::max(0.0f, 1 - c * c));
    }
    Vec3 axis, f, sideAxis;
    tubeFrame(tube, &axis, &f, &sideAxis);
    float c = std::cos(theta), sn = std::sin(theta);
    float depth = c > 0 ? back : front;  // theta 0 looks out of the back
    Vec3 offset = add(sideAxis * (side * sn), f * (-depth * c));
    *point = add(add(tube.start, axis * along), offset * round);
    // The outward direction of the ellipse, tipped toward the pole on the caps.
    Vec3 radial = add(sideAxis * (sn / std::max(side, 1.0f)), f * (-c / std::max(depth, 1.0f))).normalized();
    float tip = along < tube.startCap ? -(1 - round) : along > length - tube.endCap ? (1 - round) : 0.0f;
    *outward = add(radial * (1 - std::fabs(tip)), axis * tip).normalized();
}

// Ring positions along a tube: quarter-circle steps over the caps, even
// steps between them.
static std::vector<float> ringDistances(const Tube& tube) {
    float length = tubeLength(tube);
    std::vector<float> at;
    for (int k = 1; k <= tube.capRings; ++k)
        at.push_back(tube.startCap * (1 - std::cos(k * 0.5f * PI / tube.capRings)));
    for (int k = 1; k < tube.bodyRings; ++k)
        at.push_back(tube.startCap + (length - tube.startCap - tube.endCap) * k / tube.bodyRings);
    for (int k = tube.capRings; k >= 1; --k)
        at.push_back(length - tube.endCap * (1 - std::cos(k * 0.5f * PI / tube.capRings)));
    return at;
}

static void skinAt(const Tube& tube, float s, uint8_t* a, uint8_t* b, float* w) {
    int n = tube.anchorCount;
    *a = *b = uint8_t(tube.anchors[0]);
    *w = 0;
    if (n == 1 || s <= tube.anchorAt[0]) return;
    for (int i = 0; i + 1 < n; ++i) {
        if (s <= tube.anchorAt[i + 1]) {
            *a = uint8_t(tube.anchors[i]);
            *b = uint8_t(tube.anchors[i + 1]);
            *w = smooth(tube.anchorAt[i], tube.anchorAt[i + 1], s);
            return;
        }
    }
    *a = *b = uint8_t(tube.anchors[n - 1]);
}

static void addTube(FigureMesh& mesh, const Tube& tube) {
    uint32_t first = uint32_t(mesh.rest.size() / 3);
    float length = tubeLength(tube);
    const float* r = tube.uv;
    auto vertex = [&](Vec3 p, float u, float v, float along) {
        mesh.rest.insert(mesh.rest.end(), {p.x, p.y, p.z});
        mesh.uv.insert(mesh.uv.end(), {u, v});
        uint8_t a, b;
        float w;
        skinAt(tube, along / length, &a, &b, &w);
        mesh.jointA.push_back(a);
        mesh.jointB.push_back(b);
        mesh.weightB.push_back(w);
    };
    Vec3 p, n;
    vertex(tube.start, (r[0] + r[2]) / 2, r[1], 0);
    std::vector<float> rings = ringDistances(tube);
    int around = tube.around;
    for (float along : rings)
        for (int j = 0; j <= around; ++j) {
            tubeSurface(tube, 2 * PI * j / around, along, &p, &n);
            vertex(p, r[0] + (r[2] - r[0]) * j / around, r[1] + (r[3] - r[1]) * along / length, along);
        }
    vertex(tube.end, (r[0] + r[2]) / 2, r[3], length);

    uint32_t startPole = first, endPole = first + 1 + uint32_t(rings.size()) * (around + 1);
    auto ring = [&](size_t k, int j) { return first + 1 + uint32_t(k) * (around + 1) + j; };
    size_t firstTriangle = mesh.index.size();
    for (int j = 0; j < around; ++j) mesh.index.insert(mesh.index.end(), {startPole, ring(0, j + 1), ring(0, j)});
    for (size_t k = 0; k + 1 < rings.size(); ++k)
        for (int j = 0; j < around; ++j)
            mesh.index.insert(mesh.index.end(), {ring(k, j), ring(k, j + 1), ring(k + 1, j + 1), ring(k, j),
                                                 ring(k + 1, j + 1), ring(k + 1, j)});
    size_t last = rings.size() - 1;
    for (int j = 0; j < around; ++j) mesh.index.insert(mesh.index.end(), {ring(last, j), ring(last, j + 1), endPole});

    // Face outward: test one side quad of the middle ring against its outward direction.
    size_t mid = rings.size() / 2;
    auto at = [&](uint32_t v) { return Vec3{mesh.rest[v * 3], mesh.rest[v * 3 + 1], mesh.rest[v * 3 + 2]}; };
    Vec3 a = at(ring(mid, around / 4)), b = at(ring(mid, around / 4 + 1)), c = at(ring(mid + 1, around / 4 + 1));
    tubeSurface(tube, 2 * PI * (around / 4) / around, rings[mid], &p, &n);
    if (dot(cross(b - a, c - a), n) < 0)
        for (size_t t = firstTriangle; t < mesh.index.size(); t += 3) std::swap(mesh.index[t + 1], mesh.index[t + 2]);
}

// A picture rectangle in pixels, inset so filtering stays inside it.
static void pictureRect(Tube& tube, int x0, int y0, int x1, int y1) {
    const float inset = 2.0f;
    tube.uv[0] = (x0 + inset) / FIGURE_PICTURE_WIDTH;
    tube.uv[1] = (y0 + inset) / FIGURE_PICTURE_HEIGHT;
    tube.uv[2] = (x1 - inset) / FIGURE_PICTURE_WIDTH;
    tube.uv[3] = (y1 - inset) / FIGURE_PICTURE_HEIGHT;
}

static Tube makeTube(Part part, Vec3 start, Vec3 end, Vec3 front, float startCap, float endCap, std::vector<TubeKey> keys,
                     int bodyRings, int capRings, int around) {
    Tube t;
    t.part = part;
    t.start = start;
    t.end = end;
    t.front = front;
    t.startCap = startCap;
    t.endCap = endCap;
    t.keys = std::move(keys);
    t.bodyRings = bodyRings;
    t.capRings = capRings;
    t.around = around;
    t.anchorCount = 0;
    return t;
}

static void anchor(Tube& t, Joint j, float s) {
    t.anchors[t.anchorCount] = j;
    t.anchorAt[t.anchorCount] = s;
    ++t.anchorCount;
}

// A limb segment from joint a to joint b: the rounded ends are centred on
// the joints, so the segment turns about them like a ball joint.
static Tube limb(Part part, const Vec3* j, Joint a, Joint b, float ra, float rb, std::vector<TubeKey> keys, int bodyRings,
                 int around, float bulk) {
    Vec3 d = (j[b] - j[a]).normalized();
    for (TubeKey& k : keys) {
        k.side *= bulk;
        k.front *= bulk;
        k.back *= bulk;
    }
    Tube t = makeTube(part, add(j[a], d * (-ra * bulk)), add(j[b], d * (rb * bulk)), {0, 0, 1}, ra * bulk, rb * bulk,
                      std::move(keys), bodyRings, 4, around);
    anchor(t, a, 0);
    return t;
}

FigureMesh buildFigure(const Body& body) {
    FigureMesh mesh;
    Vec3* j = mesh.restJoints;
    restJoints(body, j);
    float h = body.height, k = body.bulk * h, sw = body.shoulderWidth, hw = body.hipWidth;

    // Torso from the crotch to the base of the neck: hips, waist, ribs, the
    // shoulders' slope; the spine bends it through three anchors.
    Tube torso = makeTube(PART_TORSO, {0, 835 * h, -5 * h}, {0, 1480 * h, -18 * h}, {0, 0, 1}, 55 * k, 30 * k,
                          {{0.00f, 110 * hw * k, 75 * k, 90 * k},
                           {0.12f, 168 * hw * k, 92 * k, 118 * k},
                           {0.28f, 160 * hw * k, 88 * k, 102 * k},
                           {0.45f, 128 * k, 82 * k, 80 * k},
                           {0.62f, 146 * sw * k, 102 * k, 86 * k},
                           {0.78f, 160 * sw * k, 108 * k, 90 * k},
                           {0.89f, 192 * sw * k, 82 * k, 80 * k},
                           {1.00f, 80 * k, 55 * k, 58 * k}},
                          22, 5, 26);
    anchor(torso, PELVIS, 0.22f);
    anchor(torso, SPINE, 0.45f);
    anchor(torso, CHEST, 0.72f);
    pictureRect(torso, 0, 0, 256, 512);
    mesh.tubes.push_back(torso);

    Tube neck = makeTube(PART_NECK, {0, 1380 * h, -25 * h}, {0, 1570 * h, -8 * h}, {0, 0, 1}, 30 * k, 30 * k,
                         {{0, 50 * k, 46 * k, 52 * k}, {0.5f, 46 * k, 44 * k, 48 * k}, {1, 50 * k, 48 * k, 52 * k}}, 6,
                         3, 16);
    anchor(neck, CHEST, 0.35f);
    anchor(neck, NECK, 0.8f);
    pictureRect(neck, 256, 224, 384, 288);
    mesh.tubes.push_back(neck);

    // The head: an egg from the chin to the crown, fuller at the back.
    Tube head = makeTube(PART_HEAD, {0, 1478 * h, 18 * h}, {0, 1702 * h, -18 * h}, {0, 0, 1}, 45 * k, 85 * k,
                         {{0.00f, 52 * k, 55 * k, 60 * k},
                          {0.30f, 70 * k, 88 * k, 80 * k},
                          {0.60f, 78 * k, 92 * k, 102 * k},
                          {1.00f, 74 * k, 86 * k, 96 * k}},
                         6, 7, 24);
    anchor(head, HEAD, 0);
    pictureRect(head, 256, 0, 512, 224);
    mesh.tubes.push_back(head);

    for (int side = 0; side < 2; ++side) {
        int o = side ? R_SHOULDER - L_SHOULDER : 0, l = side ? R_HIP - L_HIP : 0, px = side * 64, lx = side * 128;
        Joint sh = Joint(L_SHOULDER + o), el = Joint(L_ELBOW + o), wr = Joint(L_WRIST + o), hd = Joint(L_HAND + o);
        Joint hp = Joint(L_HIP + l), kn = Joint(L_KNEE + l), an = Joint(L_ANKLE + l), to = Joint(L_TOE + l);

        Tube upper = limb(PART_UPPER_ARM, j, sh, el, 56, 40, {{0, 56, 58, 56}, {0.3f, 50, 50, 48}, {0.85f, 40, 40, 42}, {1, 40, 40, 42}},
                          8, 14, k);
        pictureRect(upper, 256 + px, 288, 320 + px, 512);
        mesh.tubes.push_back(upper);

        Tube fore = limb(PART_FOREARM, j, el, wr, 40, 24, {{0, 40, 42, 40}, {0.3f, 40, 42, 36}, {0.85f, 28, 24, 24}, {1, 28, 24, 24}},
                         8, 12, k);
        pictureRect(fore, 384 + px, 224, 448 + px, 432);
        mesh.tubes.push_back(fore);

        // The hand: flat across the palm, wide front to back as it hangs.
        Vec3 hand = (j[hd] - j[wr]).normalized();
        Tube palm = makeTube(PART_HAND, add(j[wr], hand * (-20 * k)), j[hd], {0, 0, 1}, 20 * k, 28 * k,
                             {{0, 20 * k, 28 * k, 28 * k},
                              {0.35f, 17 * k, 44 * k, 44 * k},
                              {0.7f, 14 * k, 40 * k, 38 * k},
                              {1, 10 * k, 30 * k, 28 * k}},
                             6, 3, 10);
        anchor(palm, wr, 0);
        pictureRect(palm, 384 + px, 432, 448 + px, 512);
        mesh.tubes.push_back(palm);

        Tube thigh = limb(PART_THIGH, j, hp, kn, 82, 52, {{0, 82, 84, 90}, {0.25f, 84, 82, 86}, {0.8f, 56, 56, 54}, {1, 52, 52, 52}},
                          10, 16, k);
        pictureRect(thigh, lx, 512, 128 + lx, 768);
        mesh.tubes.push_back(thigh);

        Tube shin = limb(PART_SHIN, j, kn, an, 52, 34, {{0, 52, 52, 52}, {0.3f, 52, 46, 62}, {0.8f, 34, 32, 36}, {1, 34, 32, 34}},
                         10, 14, k);
        pictureRect(shin, lx, 768, 128 + lx, 1024);
        mesh.tubes.push_back(shin);

        // The foot: from the heel to the toes, flat sole on y = 0, instep
        // rising to the ankle.
        Vec3 heel = {j[an].x, 30 * h, j[an].z - 48 * h}, toe = {j[to].x + (side ? -8.0f : 8.0f), 18 * h, j[to].z + 22 * h};
        Tube foot = makeTube(PART_FOOT, heel, toe, {0, 1, 0}, 32 * k, 28 * k,
                             {{0, 32 * k, 40 * k, 30 * k},
                              {0.30f, 38 * k, 62 * k, 30 * k},
                              {0.68f, 46 * k, 26 * k, 20 * k},
                              {1, 38 * k, 12 * k, 12 * k}},
                             8, 3, 12);
        anchor(foot, an, 0);
        pictureRect(foot, 256 + side * 128, 512, 384 + side * 128, 640);
        mesh.tubes.push_back(foot);
    }
    for (const Tube& t : mesh.tubes) addTube(mesh, t);
    return mesh;
}

Pose restPose() {
    Pose p;
    for (Vec3& r : p.rotation) r = Vec3::zero();
    p.rootOffset = Vec3::zero();
    return p;
}

PosedFigure poseFigure(const FigureMesh& mesh, const Pose& pose) {
    const Vec3* rest = mesh.restJoints;
    Mat4 world[JOINT_COUNT], skin[JOINT_COUNT];
    for (int k = 0; k < JOINT_COUNT; ++k) {
        Vec3 r = pose.rotation[k];
        Mat4 turn = Mat4::fromEuler(r.x, r.y, r.z);
        world[k] = k == PELVIS ? Mat4::translation(add(rest[k], pose.rootOffset)) * turn
                               : world[PARENT[k]] * Mat4::translation(rest[k] - rest[PARENT[k]]) * turn;
        skin[k] = world[k] * Mat4::translation(rest[k] * -1.0f);
    }
    PosedFigure out;
    size_t n = mesh.rest.size() / 3;
    out.xyz.resize(n * 3);
    float lowest = 1e30f;
    for (size_t v = 0; v < n; ++v) {
        Vec3 p = {mesh.rest[v * 3], mesh.rest[v * 3 + 1], mesh.rest[v * 3 + 2]};
        Vec3 a = skin[mesh.jointA[v]].transformPoint(p), b = skin[mesh.jointB[v]].transformPoint(p);
        Vec3 q = add(a, (b - a) * mesh.weightB[v]);
        out.xyz[v * 3] = q.x;
        out.xyz[v * 3 + 1] = q.y;
        out.xyz[v * 3 + 2] = q.z;
        lowest = std::min(lowest, q.y);
    }
    for (size_t v = 0; v < n; ++v) out.xyz[v * 3 + 1] -= lowest;
    for (int k = 0; k < JOINT_COUNT; ++k) {
        out.joints[k] = world[k].transformPoint(Vec3::zero());
        out.joints[k].y -= lowest;
    }
    return out;
}
