#include "show/frame_trace.h"

#include <utility>

#include "render/render_target.h"
#include "show/camera_script.h"
#include "show/live_inputs.h"
#include "show/scenes/figures.h"

void setRawTime(Part_Clips& part, float raw) {
    fillShowTimeMap(part.timeMap, part.tempo);
    part.live->frameTime = 0;
    part.time = raw;
    part.update();
}

void setSceneTime(Part_Clips& part, float scene, int flag) {
    fillShowTimeMap(part.timeMap, part.tempo);
    part.time = scene;
    part.rawTime = scene;
    part.fttime = scene;
    part.sceneTime = scene;
    part.timeFlag = flag;
}

static std::string vectorJson(Vec3 v) {
    return "[" + jsonNumber(v.x) + ", " + jsonNumber(v.y) + ", " + jsonNumber(v.z) + "]";
}

std::string frameHeaderJson(const Part_Clips& part) {
    ShowCamera camera = cameraForSceneTime(part.sceneTime, part.timeFlag);
    return "{\"raw\": " + jsonNumber(part.rawTime) + ", \"scene\": " + jsonNumber(part.sceneTime) +
           ", \"flag\": " + std::to_string(part.timeFlag) + ", \"eye\": " + vectorJson(camera.eye) +
           ", \"center\": " + vectorJson(camera.center) + "}";
}

DrawTrace traceFrame(Part_Clips& part) {
    DrawTrace trace;
    if (part.sceneTime >= SHOW_END_SCENE_TIME) return trace;
    trace.registry = &part.registry;
    trace.textureNames[part.app->meshTargetA->colourTextures[0]] = "meshTargetA";
    trace.textureNames[part.app->meshTargetB->colourTextures[0]] = "meshTargetB";
    drawTrace = &trace;
    part.draw();
    drawTrace = nullptr;
    return trace;
}

// The last millisecond step before `before` (a raw time-map entry or a scene
// millisecond) whose scene time draws into a target; -1 when there is none.
template <typename SceneTimeOf>
static int lastDrawingStep(int before, bool (*draws)(float), SceneTimeOf sceneTimeOf) {
    for (int i = before - 1; i >= 0; i--)
        if (draws(sceneTimeOf(i))) return i;
    return -1;
}

// Draws the steps that prime the two targets (where the frame at `step`
// does not draw into one and it does not hold that step's figure already),
// the earlier first: the later one's frame cannot draw into the earlier's
// target, or that would have been the later step. Then notes what the frame
// at `step`, which the caller draws next, will leave in them.
template <typename SceneTimeOf, typename SetStep>
static void drawPrimes(Part_Clips& part, int step, SceneTimeOf sceneTimeOf, SetStep setStep,
                       MeshTargetContent& content) {
    bool drawsA = drawsIntoMeshTargetA(part.sceneTime), drawsB = drawsIntoMeshTargetB(part.sceneTime);
    int primes[2] = {-1, -1};
    if (!drawsA) {
        int wanted = lastDrawingStep(step, drawsIntoMeshTargetA, sceneTimeOf);
        if (wanted != content.a) primes[0] = wanted;
    }
    if (!drawsB) {
        int wanted = lastDrawingStep(step, drawsIntoMeshTargetB, sceneTimeOf);
        if (wanted != content.b) primes[1] = wanted;
    }
    if (primes[0] > primes[1]) std::swap(primes[0], primes[1]);
    for (int prime : primes) {
        if (prime < 0) continue;
        setStep(prime);
        part.draw();
        if (drawsIntoMeshTargetA(sceneTimeOf(prime))) content.a = prime;
        if (drawsIntoMeshTargetB(sceneTimeOf(prime))) content.b = prime;
    }
    if (drawsA) content.a = step;
    if (drawsB) content.b = step;
}

void primeMeshTargets(Part_Clips& part, float raw, MeshTargetContent& content) {
    setRawTime(part, raw);
    const TimeMap& map = part.timeMap;
    drawPrimes(part, timeMapIndex(map, raw), [&](int i) { return map.sceneTime[i]; },
               [&](int i) { setRawTime(part, (i + 0.5f) / 1000.0f); }, content);
    setRawTime(part, raw);
}

void primeMeshTargetsForScene(Part_Clips& part, float scene, int flag, MeshTargetContent& content) {
    setSceneTime(part, scene, flag);
    int step = static_cast<int>(scene * 1000.0f);
    drawPrimes(part, step, [](int i) { return i / 1000.0f; }, [&](int i) { setSceneTime(part, i / 1000.0f, 0); },
               content);
    setSceneTime(part, scene, flag);
}
