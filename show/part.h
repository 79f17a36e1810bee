// part.h - one self-contained piece of the show with its own clock.
//
// Parts are constructed on zero-filled memory (see newZeroedPart) and rely on
// it for members their constructors leave alone. They are never deleted.
// A part sees the application only through PartApp and LiveInputs.
#pragma once
#include <cstdlib>
#include <new>
#include <string>

struct LiveInputs;
struct RenderTarget;

// What a part may use of the application: the show window's size, the
// render targets the show draws through, and the loading screen.
struct PartApp {
    int width = 0, height = 0;  // the show window, pixels
    float aspect = 1.0f;
    RenderTarget* sceneTarget = nullptr;  // scene target 1: the frame is composed here
    RenderTarget* otherTarget = nullptr;  // scene target 2: sampled by the post-process
    RenderTarget* meshTargetA = nullptr;  // scene targets 3 and 4: mesh figures,
    RenderTarget* meshTargetB = nullptr;  // composited as cut-outs
    RenderTarget* postTarget = nullptr;   // single-sampled: the post-process draws here
    // Pumps events and redraws the loading screen; main thread only.
    void (*reportProgress)(float progress, const std::string& message) = nullptr;
};

class Part {
public:
    virtual void draw() = 0;    // render one frame into the current framebuffer
    virtual void update() = 0;  // advance the part's state before draw
    virtual ~Part();
    virtual void init() = 0;    // load the part's resources; may take long

    PartApp* app = nullptr;
    float time = 0.0f;    // the part's clock in seconds (the raw show time)
    float rate = 120.0f;  // the clock runs at rate / 120 of real time
    float progress = 0.0f;
    std::string message;
    LiveInputs* live = nullptr;
};

// Records storage that lives until the process ends, so it stays reachable
// (for leak checkers too) after the application record is torn down at exit.
void keepForProcessLifetime(void* memory);

// Constructs a part on zero-filled storage that is never released.
template <typename T>
T* newZeroedPart() {
    void* memory = std::calloc(1, sizeof(T));
    if (!memory) throw std::bad_alloc();
    keepForProcessLifetime(memory);
    return new (memory) T;  // default-initialised: members the constructor skips stay zero
}

// The part schedule: part 0 plays while the show clock is in [0, 28000);
// outside every range the active part stays what it was.
int scheduledPart(float showClock, int activePart);
