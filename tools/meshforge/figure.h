// figure.h - the forge's human figure: a skeleton of 21 joints with smooth
// tubes laid along its bones (fingers and thumbs too), posed by joint
// rotations and skinned to them. An arm or a leg is one tube from its root
// to the wrist or ankle that bends through its middle joint, so no seam or
// ball shows at an elbow or a knee.
//
//   Body body = walkerBody();
//   FigureMesh mesh = buildFigure(body);            // once: triangles, uvs, rest positions
//   Pose pose = restPose();
//   pose.rotation[L_KNEE] = {30, 0, 0};              // degrees, Rz * Ry * Rx about the joint
//   PosedFigure posed = poseFigure(mesh, pose);      // millimetres, lowest point on y = 0
//
// Rest pose: standing about 1700 mm tall, feet on y = 0, centred on x = z = 0,
// facing +z, arms hanging a little away from the body, palms in. The
// figure's left is +x. The hand joints sit at the knuckles: turning them
// curls the fingers.
// Every tube owns one rectangle of the picture: u runs around it (seam at its
// back), v along it, so the painter can find the rest point of any texel.
// The head spends more of its u on the front, where the face is.
#pragma once
#include <cstdint>
#include <vector>

#include "render/math.h"

// The picture every tube's rectangle lies in, in pixels.
constexpr int FIGURE_PICTURE_WIDTH = 512, FIGURE_PICTURE_HEIGHT = 1024;

enum Joint {
    PELVIS, SPINE, CHEST, NECK, HEAD,
    L_SHOULDER, L_ELBOW, L_WRIST, L_HAND,
    R_SHOULDER, R_ELBOW, R_WRIST, R_HAND,
    L_HIP, L_KNEE, L_ANKLE, L_TOE,
    R_HIP, R_KNEE, R_ANKLE, R_TOE,
    JOINT_COUNT
};

// Proportions and colours of one figure.
struct Body {
    float height;         // scale of the 1700 mm skeleton
    float shoulderWidth;  // scale of the shoulders' spread
    float hipWidth;
    float bulk;           // scale of every tube's thickness
    float skin[3];        // B, G, R in 0..1
    float hair[3];
    float hairLength;     // mm below the crown the hair reaches at the back
    float suit[3];        // the one-piece bathing costume
    float trim[3];        // its second colour: the stripes, or the piping round its edges
    bool striped;
    uint32_t seed;        // the painting's unevenness
};

Body walkerBody();
Body secondBody();

// One cross-section key of a tube: half widths across (side) and to the
// front and back, at fraction s of its length.
struct TubeKey {
    float s, side, front, back;
};

enum Part { PART_TORSO, PART_NECK, PART_HEAD, PART_ARM, PART_HAND, PART_FINGER, PART_LEG, PART_FOOT };

struct Tube {
    Part part;
    Vec3 start, end;     // the two poles, rest millimetres
    Vec3 front;          // which way is "front" for the cross-sections
    float startCap, endCap;  // lengths of the rounded ends
    std::vector<TubeKey> keys;
    int bodyRings, capRings, around;
    // Skinning: a joint per anchor at fraction anchorAt of the length; between
    // two anchors the surface turns part of the way from the first joint to
    // the second, which is the same joint or its child.
    Joint anchors[4];
    float anchorAt[4];
    int anchorCount;
    float faceWarp;      // 0: u even around; toward 1: the front gets more of it
    // A finger's share of the knuckle's turn at its root and at its tip (0, 0
    // for every other tube): growing along it, a closing hand rolls into a fist.
    float curlRoot, curlTip;
    float uv[4];         // u0, v0, u1, v1 of its picture rectangle
};

struct FigureMesh {
    std::vector<Tube> tubes;
    std::vector<float> rest;       // 3 per vertex, mm
    std::vector<float> uv;         // 2 per vertex
    std::vector<uint32_t> index;   // 3 per triangle, outward counter-clockwise
    std::vector<uint8_t> jointA, jointB;  // skinning: jointA, turned weightB of the way to jointB
    std::vector<float> weightB;
    Vec3 restJoints[JOINT_COUNT];
};

FigureMesh buildFigure(const Body& body);

// Rest point and outward direction of a tube's surface at angle theta
// (0 at its back) and distance `along` from its start pole.
void tubeSurface(const Tube& tube, float theta, float along, Vec3* point, Vec3* outward);
// The angle around a tube (0 at its back) at fraction u of its picture's width.
float tubeAngle(const Tube& tube, float u);
float tubeLength(const Tube& tube);

struct Pose {
    Vec3 rotation[JOINT_COUNT];  // degrees about x, y, z
    Vec3 rootOffset;             // mm, added to the pelvis
};

Pose restPose();

struct PosedFigure {
    std::vector<float> xyz;          // 3 per vertex, mm
    Vec3 joints[JOINT_COUNT];        // mm, same placement as xyz
};

// Skins the mesh to the pose and lifts it so its lowest point rests on y = 0.
PosedFigure poseFigure(const FigureMesh& mesh, const Pose& pose);

// Moves a posed figure as one piece (a swing on a rope, a step back) and
// settles it on y = 0 again.
void moveFigure(PosedFigure& figure, const Mat4& move);
