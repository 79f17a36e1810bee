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
    return {1.0f, 1.0f, 1.0f, 1.0f, {0.56f, 0.72f, 0.90f}, {0.10f, 0.13f, 0.20f}, 120.0f,
            {0.14f, 0.14f, 0.62f}, {0.78f, 0.89f, 0.94f}, true, 4800u};
}

Body secondBody() {
    return {0.96f, 0.92f, 1.08f, 0.97f, {0.45f, 0.60f, 0.82f}, {0.07f, 0.09f, 0.13f}, 260.0f,
            {0.32f, 0.18f, 0.13f}, {0.78f, 0.89f, 0.94f}, false, 300u};
}

// The 1700 mm skeleton, stretched to the body's proportions.
static void restJoints(const Body& b, Vec3* j) {
    const Vec3 base[JOINT_COUNT] = {
        {0, 960, 0},    {0, 1110, -10},  {0, 1300, -10},  {0, 1455, -15},   {0, 1530, -5},
        {175, 1410, -20}, {200, 1120, -35}, {222, 870, -10}, {227, 778, -5},
        {-175, 1410, -20}, {-200, 1120, -35}, {-222, 870, -10}, {-227, 778, -5},
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

float tubeAngle(const Tube& tube, float u) {
    return 2 * PI * u + tube.faceWarp * std::sin(2 * PI * u);
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

// How far the nose stands off the front of the head, in mm of the 1700 mm
// figure: from nothing at the bridge to the tip, then tucked back under it
// to the lip. s is the fraction along the head from the chin.
static float noseLift(float theta, float s) {
    float t = (0.57f - s) / (0.57f - 0.366f);  // 0 at the bridge, 1 at the tip
    if (t <= 0) return 0;
    float height = t <= 1 ? 18 * std::pow(t, 1.4f) : 18 * (1 - smooth(1.0f, 1.2f, t));
    float width = (6 + 7 * std::min(t, 1.0f)) / 90;  // radians round a 90 mm face
    float d = (theta - PI) / width;
    return height * std::exp(-d * d);
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
    if (tube.part == PART_HEAD) *point = add(*point, f * (noseLift(theta, s) * length / 227));
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
    if (n == 1) return;
    // Before the first anchor: none of the way to the second joint (though a
    // socket's lead still turns it with the root).
    *b = uint8_t(tube.anchors[1]);
    if (s <= tube.anchorAt[0]) return;
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
        if (tube.curlTip > 0) w = tube.curlRoot + (tube.curlTip - tube.curlRoot) * along / length;
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
            tubeSurface(tube, tubeAngle(tube, float(j) / around), along, &p, &n);
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
    tubeSurface(tube, tubeAngle(tube, float(around / 4) / around), rings[mid], &p, &n);
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
    t.faceWarp = 0;
    t.curlRoot = t.curlTip = 0;
    return t;
}

static void anchor(Tube& t, Joint j, float s) {
    t.anchors[t.anchorCount] = j;
    t.anchorAt[t.anchorCount] = s;
    ++t.anchorCount;
}

// A whole arm or leg, one tube from its root joint a through the middle
// joint b to its end joint c, rounded round a and c. Key positions run 0..1
// from the tube's start to b and 1..2 from b to its end. The root turns
// away from the parent joint between the rounded head and `root` mm below
// a, the middle joint over `bend` mm either side of b: the limb bends there
// like a sleeve, not like two pieces on a pin.
static Tube limbTube(Part part, const Vec3* j, Joint parent, Joint a, Joint b, Joint c, float ra, float rc,
                     std::vector<TubeKey> keys, int bodyRings, int around, float bulk, float root, float bend) {
    Vec3 d = (j[c] - j[a]).normalized();
    Vec3 start = add(j[a], d * (-ra * bulk)), end = add(j[c], d * (rc * bulk));
    float length = dot(end - start, d), middle = dot(j[b] - start, d);
    for (TubeKey& k : keys) {
        float along = k.s <= 1 ? k.s * middle : middle + (k.s - 1) * (length - middle);
        k.s = along / length;
        k.side *= bulk;
        k.front *= bulk;
        k.back *= bulk;
    }
    Tube t = makeTube(part, start, end, {0, 0, 1}, ra * bulk, rc * bulk, std::move(keys), bodyRings, 4, around);
    anchor(t, parent, 0);  // from the pole, so the rounded head turns with the root
    anchor(t, a, (ra * bulk + root) / length);
    anchor(t, a, (middle - bend) / length);
    anchor(t, b, (middle + bend) / length);
    return t;
}

// The hand: a flat palm from the wrist to the knuckles (the hand joint),
// four fingers fanned a little from the knuckles and a thumb from the heel
// of the hand, pointing forward and down. The fingers turn with the hand
// joint, more toward their tips, so turning it curls them; the thumb stays
// with the palm. Side 0 is the left hand, whose palm faces -x, side 1 the
// right.
static void addHand(FigureMesh& mesh, const Vec3* j, Joint wr, Joint hd, float h, float k, int side) {
    Vec3 down = (j[hd] - j[wr]).normalized();
    Vec3 across = (Vec3{0, 0, 1} - down * dot({0, 0, 1}, down)).normalized();  // toward the thumb
    Vec3 in = cross(across, down);                                                 // toward the palm
    if ((in.x > 0) == (side == 0)) in = in * -1.0f;

    Tube palm = makeTube(PART_HAND, add(j[wr], down * (-16 * k)), add(j[hd], down * (6 * k)), across, 16 * k, 12 * k,
                         {{0, 18 * k, 28 * k, 28 * k},
                          {0.3f, 16 * k, 38 * k, 38 * k},
                          {0.8f, 14 * k, 43 * k, 41 * k},
                          {1, 13 * k, 40 * k, 38 * k}},
                         5, 3, 12);
    anchor(palm, wr, 0);
    pictureRect(palm, 256 + side * 64, 608, 320 + side * 64, 688);
    mesh.tubes.push_back(palm);

    // Index to little finger: offset across the knuckles, fan angle, length,
    // thickness. Slim and fanned, so light shows between them.
    const float fingers[4][4] = {{27, 0.16f, 72, 8.5f}, {9, 0.05f, 80, 9}, {-9, -0.06f, 75, 8.5f}, {-26, -0.18f, 60, 7.5f}};
    for (int f = 0; f <= 4; f++) {
        Vec3 base, dir;
        float length, r;
        if (f < 4) {
            base = add(j[hd], across * (fingers[f][0] * k));
            dir = add(down * std::cos(fingers[f][1]), across * std::sin(fingers[f][1]));
            length = fingers[f][2] * h;
            r = fingers[f][3] * k;
        } else {  // the thumb, from the heel of the hand, held off the fingers
            base = add(add(j[wr], down * (22 * h)), add(across * (24 * k), in * (7 * k)));
            dir = add(add(down * 0.55f, across * 0.76f), in * 0.34f).normalized();
            length = 62 * h;
            r = 10.5f * k;
        }
        Tube finger = makeTube(PART_FINGER, add(base, dir * (-0.6f * r)), add(base, dir * length), in, r, 0.9f * r,
                               {{0, r, r, r}, {0.6f, 0.95f * r, 0.9f * r, 0.9f * r}, {1, 0.85f * r, 0.8f * r, 0.8f * r}},
                               f < 4 ? 4 : 2, 2, 6);
        anchor(finger, wr, 0);
        if (f < 4) {
            anchor(finger, hd, 1);
            finger.curlRoot = 0.85f;
            finger.curlTip = 1.3f;
        }
        pictureRect(finger, 256 + f * 48, 720 + side * 64, 304 + f * 48, 784 + side * 64);
        mesh.tubes.push_back(finger);
    }
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
                           {0.89f, 184 * sw * k, 82 * k, 80 * k},
                           {0.95f, 140 * sw * k, 68 * k, 70 * k},
                           {1.00f, 80 * k, 55 * k, 58 * k}},
                          22, 5, 24);
    anchor(torso, PELVIS, 0.22f);
    anchor(torso, SPINE, 0.45f);
    anchor(torso, CHEST, 0.72f);
    pictureRect(torso, 0, 0, 256, 512);
    mesh.tubes.push_back(torso);

    Tube neck = makeTube(PART_NECK, {0, 1380 * h, -25 * h}, {0, 1570 * h, -8 * h}, {0, 0, 1}, 30 * k, 30 * k,
                         {{0, 50 * k, 46 * k, 52 * k}, {0.5f, 46 * k, 44 * k, 48 * k}, {1, 50 * k, 48 * k, 52 * k}}, 4,
                         3, 16);
    anchor(neck, CHEST, 0.35f);
    anchor(neck, NECK, 0.8f);
    pictureRect(neck, 256, 288, 384, 352);
    mesh.tubes.push_back(neck);

    // The head: an egg from the chin to the crown, fuller at the back.
    Tube head = makeTube(PART_HEAD, {0, 1478 * h, 18 * h}, {0, 1702 * h, -18 * h}, {0, 0, 1}, 45 * k, 85 * k,
                         {{0.00f, 52 * k, 55 * k, 60 * k},
                          {0.30f, 70 * k, 88 * k, 80 * k},
                          {0.60f, 78 * k, 92 * k, 102 * k},
                          {1.00f, 74 * k, 86 * k, 96 * k}},
                         14, 5, 32);
    anchor(head, HEAD, 0);
    head.faceWarp = 0.5f;
    pictureRect(head, 256, 0, 512, 288);
    mesh.tubes.push_back(head);

    for (int side = 0; side < 2; ++side) {
        int o = side ? R_SHOULDER - L_SHOULDER : 0, l = side ? R_HIP - L_HIP : 0;
        Joint sh = Joint(L_SHOULDER + o), el = Joint(L_ELBOW + o), wr = Joint(L_WRIST + o), hd = Joint(L_HAND + o);
        Joint hp = Joint(L_HIP + l), kn = Joint(L_KNEE + l), an = Joint(L_ANKLE + l), to = Joint(L_TOE + l);

        // Shoulder cap, biceps, then a forearm that swells below the elbow and
        // narrows to the wrist: no straight taper from shoulder to hand.
        Tube arm = limbTube(PART_ARM, j, CHEST, sh, el, wr, 32, 24,
                            {{0, 44, 46, 44}, {0.25f, 45, 46, 44}, {0.55f, 41, 46, 40}, {0.9f, 36, 37, 38},
                             {1.0f, 36, 36, 38}, {1.2f, 43, 40, 40}, {1.55f, 34, 30, 30}, {1.9f, 27, 22, 22},
                             {2, 27, 22, 22}},
                            15, 14, k, 110 * h, 65 * h);
        pictureRect(arm, 384 + side * 64, 288, 448 + side * 64, 720);
        mesh.tubes.push_back(arm);

        addHand(mesh, j, wr, hd, h, k, side);

        // Thigh, a kneecap in front, the calf behind, the ankle.
        Tube leg = limbTube(PART_LEG, j, PELVIS, hp, kn, an, 82, 34,
                            {{0, 82, 84, 90}, {0.3f, 84, 82, 86}, {0.85f, 56, 56, 54}, {1.0f, 52, 56, 50},
                             {1.3f, 52, 46, 62}, {1.8f, 34, 32, 36}, {2, 34, 32, 34}},
                            18, 14, k, 90 * h, 75 * h);
        pictureRect(leg, side * 128, 512, 128 + side * 128, 1024);
        mesh.tubes.push_back(leg);

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
        pictureRect(foot, 256, 352 + side * 128, 384, 480 + side * 128);
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

static void restOnFloor(PosedFigure& f) {
    float lowest = 1e30f;
    for (size_t v = 1; v < f.xyz.size(); v += 3) lowest = std::min(lowest, f.xyz[v]);
    for (size_t v = 1; v < f.xyz.size(); v += 3) f.xyz[v] -= lowest;
    for (Vec3& j : f.joints) j.y -= lowest;
}

// The limbs' roots: the rounded head of an arm or a leg turns in its socket
// like a ball, so only the last SOCKET_SPREAD degrees of a turn there bend
// the skin; a bigger turn would fold the root over itself.
static const float SOCKET_SPREAD = 45;
static bool isSocket(int joint) { return joint == L_SHOULDER || joint == R_SHOULDER || joint == L_HIP || joint == R_HIP; }

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
    for (size_t v = 0; v < n; ++v) {
        Vec3 p = {mesh.rest[v * 3], mesh.rest[v * 3 + 1], mesh.rest[v * 3 + 2]};
        int a = mesh.jointA[v], b = mesh.jointB[v];
        float w = mesh.weightB[v];
        Vec3 q;
        if (a == b) {
            q = skin[a].transformPoint(p);
        } else {
            // Part of the child's turn about the child joint: the skin between
            // two bones bends round the joint instead of cutting across it.
            Vec3 r = pose.rotation[b];
            float turn = std::sqrt(dot(r, r));
            float lead = isSocket(b) && turn > SOCKET_SPREAD ? 1 - SOCKET_SPREAD / turn : 0;
            r = r * (lead + (1 - lead) * w);
            Mat4 part = world[a] * Mat4::translation(rest[b] - rest[a]) * Mat4::fromEuler(r.x, r.y, r.z) *
                        Mat4::translation(rest[b] * -1.0f);
            q = part.transformPoint(p);
        }
        out.xyz[v * 3] = q.x;
        out.xyz[v * 3 + 1] = q.y;
        out.xyz[v * 3 + 2] = q.z;
    }
    for (int k = 0; k < JOINT_COUNT; ++k) out.joints[k] = world[k].transformPoint(Vec3::zero());
    restOnFloor(out);
    return out;
}

void moveFigure(PosedFigure& f, const Mat4& move) {
    for (size_t v = 0; v < f.xyz.size(); v += 3) {
        Vec3 q = move.transformPoint({f.xyz[v], f.xyz[v + 1], f.xyz[v + 2]});
        f.xyz[v] = q.x;
        f.xyz[v + 1] = q.y;
        f.xyz[v + 2] = q.z;
    }
    for (Vec3& j : f.joints) j = move.transformPoint(j);
    restOnFloor(f);
}
