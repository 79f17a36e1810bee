// part.h - one self-contained piece of the show with its own clock.
//
// Parts are constructed on zero-filled memory (see newZeroedPart) and rely on
// it for members their constructors leave alone. They are never deleted.
#pragma once
#include <new>
#include <cstdlib>
#include <string>

struct AppState;
struct LiveInputs;

class Part {
public:
    virtual void draw() = 0;    // render one frame into the current framebuffer
    virtual void update() = 0;  // advance the part's state before draw
    virtual ~Part();
    virtual void init() = 0;    // load the part's resources; may take long

    AppState* app = nullptr;
    float time = 0.0f;    // the part's clock in seconds
    float rate = 120.0f;  // the clock runs at rate / 120 of real time
    float progress = 0.0f;
    std::string message;
    LiveInputs* live = nullptr;
};

// Constructs a part on zero-filled storage that is never released.
template <typename T>
T* newZeroedPart() {
    void* memory = std::calloc(1, sizeof(T));
    if (!memory) throw std::bad_alloc();
    return new (memory) T;  // default-initialised: members the constructor skips stay zero
}

// The part schedule: part 0 plays while the show clock is in [0, 28000);
// outside every range the active part stays what it was.
int scheduledPart(float showClock, int activePart);
