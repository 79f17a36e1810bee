#include "app/advance_show.h"

#include <GL/glew.h>

#include "app/app_state.h"
#include "render/gl_state.h"
#include "show/part.h"
#include "timing/show_clock.h"

void advanceShow(AppState& state) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    state.showClock += state.live.frameTime;
    for (size_t i = 0; i < state.parts.size(); ++i) {
        Part* part = state.parts[i];
        part->app = &state.partApp;
        part->live = &state.live;
        if (static_cast<int>(i) == state.activePart) {
            part->update();
            part->draw();
        }
        followShowTime(state.soundtrackChannel, part->time / (part->rate / 120.0));
        resetGLState();
    }
    state.activePart = scheduledPart(state.showClock, state.activePart);
}
