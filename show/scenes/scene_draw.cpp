#include "show/scenes/scene_draw.h"

#include "assets/draw_trace.h"

void drawImage(SceneFrame& f, const char* key) {
    if (const ClipImage* image = f.registry.find(key)) image->draw();
}

void shatterImage(SceneFrame& f, const char* key, double progress) {
    if (const ClipImage* image = f.registry.find(key)) image->shatter(static_cast<float>(progress));
}

void shatterScreen(SceneFrame& f, const char* key, int points, double progress) {
    // An image that failed to load passes texture 0, which draws nothing.
    if (const ClipImage* image = f.registry.find(key))
        f.registry.shatterScreen(image->texture.loaded ? image->texture.id : 0, points, static_cast<float>(progress));
}

void drawMeshTarget(SceneFrame& f, const RenderTarget& target) {
    f.registry.drawScreen(target.colourTextures[0], 1);
}

void setOtherFlow(SceneFrame& f, double value) {
    f.sprite.clipProgram.use();
    f.sprite.clipProgram.setFloat("OtherFlow", static_cast<float>(value));
    traceUniform("OtherFlow", static_cast<float>(value));
}

float imageAspect(SceneFrame& f, const char* key) {
    const ClipImage* image = f.registry.find(key);
    return image ? image->texture.aspect : 1.0f;
}
