#include "assets/draw_trace.h"

#include <cmath>
#include <cstdio>

#include "assets/texture_registry.h"

DrawTrace* drawTrace = nullptr;

std::string jsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char text[32];
    snprintf(text, sizeof(text), "%.9g", value);
    return text;
}

static std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

TraceValue::TraceValue(const char* k, double number) : key(k), json(jsonNumber(number)) {}
TraceValue::TraceValue(const char* k, const char* text) : key(k), json(jsonString(text)) {}

void traceDraw(const char* kind, const std::string& name, std::initializer_list<TraceValue> extra) {
    if (!drawTrace) return;
    DrawCall call;
    call.group = drawTrace->group;
    call.kind = kind;
    call.name = name;
    call.ot = drawTrace->registry ? drawTrace->registry->sprite.ObjectType : 0.0f;
    call.mode = drawTrace->registry ? drawTrace->registry->sprite.Mode : 0;
    glGetFloatv(GL_CURRENT_COLOR, call.color);
    glGetFloatv(GL_MODELVIEW_MATRIX, call.mv);
    call.extra = "{";
    for (const TraceValue& value : extra) {
        if (call.extra.size() > 1) call.extra += ", ";
        call.extra += jsonString(value.key) + ": " + value.json;
    }
    call.extra += "}";
    drawTrace->calls.push_back(std::move(call));
}

std::string traceTextureName(GLuint texture) {
    if (!drawTrace) return "";
    auto named = drawTrace->textureNames.find(texture);
    if (named != drawTrace->textureNames.end()) return named->second;
    if (drawTrace->registry)
        for (const ClipImage& image : drawTrace->registry->images)
            if (image.texture.loaded && image.texture.id == texture) return image.key;
    return "texture " + std::to_string(texture);
}

void traceUniform(const char* name, float value) {
    if (drawTrace) drawTrace->uniforms.push_back({drawTrace->group, name, value});
}

void traceMeshChoice(const char* clip, int frame, const char* target) {
    if (!drawTrace) return;
    drawTrace->meshClip = clip;
    drawTrace->meshFrame = frame;
    drawTrace->meshTarget = target;
}

static std::string jsonArray(const float* values, int count) {
    std::string out = "[";
    for (int i = 0; i < count; i++) out += (i ? ", " : "") + jsonNumber(values[i]);
    return out + "]";
}

std::string drawCallJson(const DrawCall& call) {
    return "{\"group\": " + std::to_string(call.group) + ", \"kind\": " + jsonString(call.kind) +
           ", \"name\": " + jsonString(call.name) + ", \"ot\": " + jsonNumber(call.ot) +
           ", \"mode\": " + std::to_string(call.mode) + ", \"color\": " + jsonArray(call.color, 4) +
           ", \"mv\": " + jsonArray(call.mv, 16) + ", \"extra\": " + call.extra + "}";
}

std::string uniformSetJson(const UniformSet& set) {
    return "{\"group\": " + std::to_string(set.group) + ", \"uniform\": " + jsonString(set.name) +
           ", \"value\": " + jsonNumber(set.value) + "}";
}
