#include "crt_decoder.h"

#include "crt_front.h"
#include "crt_normal.h"
#include "crt_stream.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>

namespace crt {

namespace {

const uint32_t MAGIC = 0x787A6300;
// The longest Tunstall word; bounds what one stored byte can stand for.
const uint64_t MAX_EXPANSION = 512;


using Pred = std::array<uint32_t, 3>;

struct Edge {
    uint32_t a, b, o, prev, next;
    bool dead;
};

struct Mesh {
    std::vector<uint32_t> index;
    std::vector<Pred> pred;
};

int splitWidth(uint32_t nvert) {
    int b = 0;
    while (nvert >> (b + 1)) b++;
    return b + 1;
}

Mesh decodeConnectivity(Reader& r, Entropy entropy, uint32_t nvert, uint32_t nface, const std::vector<Group>& groups) {
    r.u32();  // max_front: a capacity hint only
    std::vector<uint8_t> symbols = readBlock(r, entropy, SIZE_MAX, size_t(nface) * 16 + 16);
    if (symbols.size() < nface) fail("fewer connectivity symbols than faces");
    BitReader bits = readBits(r);
    const int width = splitWidth(nvert);

    Mesh m;
    m.index.reserve(size_t(nface) * 3);
    m.pred.assign(nvert, Pred{NONE, NONE, NONE});
    uint32_t v = 0;
    size_t cursor = 0;
    auto next = [&]() {
        if (cursor >= symbols.size()) fail("connectivity symbols exhausted");
        uint8_t s = symbols[cursor++];
        if (s > SPLIT) fail("bad connectivity symbol");
        return s;
    };
    auto newVertex = [&](const Pred& p) {
        if (v >= nvert) fail("more vertices than declared");
        m.pred[v] = p;
        return v++;
    };
    auto known = [&]() {
        uint32_t x = bits.read(width);
        if (x >= v) fail("split index past the decoded vertices");
        return x;
    };
    auto face = [&](uint32_t a, uint32_t b, uint32_t c) {
        if (a == b || b == c || a == c) fail("degenerate face");
        m.index.push_back(a);
        m.index.push_back(b);
        m.index.push_back(c);
    };

    std::vector<Edge> edges;
    FrontOrder front;
    // Each symbol adds at most two edges (three at a component start, which adds one face).
    edges.reserve(symbols.size() * 2 + 3);
    front.queue.reserve(symbols.size() + 3);
    for (const Group& g : groups) {
        edges.clear();
        front.clear();
        while (m.index.size() < size_t(g.end) * 3) {
            if (front.empty()) {
                uint8_t s = next();
                if (s != VERTEX && s != SPLIT) fail("bad symbol at a component start");
                uint32_t mask = s == SPLIT ? bits.read(3) : 0;
                uint32_t c[3];
                uint32_t last = v == 0 ? NONE : v - 1;
                for (int k = 0; k < 3; k++) {
                    if (mask & (1u << k)) {
                        c[k] = known();
                    } else {
                        c[k] = newVertex(Pred{last, last, last});
                        last = c[k];
                    }
                }
                face(c[0], c[1], c[2]);
                uint32_t t = uint32_t(edges.size());
                edges.push_back({c[1], c[2], c[0], t + 2, t + 1, false});
                edges.push_back({c[2], c[0], c[1], t, t + 2, false});
                edges.push_back({c[0], c[1], c[2], t + 1, t, false});
                front.queue.insert(front.queue.end(), {t, t + 1, t + 2});
                continue;
            }
            uint32_t x = front.next();
            if (edges[x].dead) continue;
            uint8_t s = next();
            if (s == BOUNDARY) continue;
            if (s == DELAY) {
                front.stack.push_back(x);
                continue;
            }
            const Edge e = edges[x];
            const Edge l = edges[e.prev];
            const Edge rr = edges[e.next];
            uint32_t n = uint32_t(edges.size());
            uint32_t w;
            switch (s) {
            case VERTEX:
            case SPLIT:
                w = s == SPLIT ? known() : newVertex(Pred{e.b, e.a, e.o});
                edges[e.prev].next = n;
                edges[e.next].prev = n + 1;
                edges.push_back({e.a, w, e.b, e.prev, n + 1, false});
                front.queue.push_back(n + 1);
                edges.push_back({w, e.b, e.a, n, e.next, false});
                front.pending = n;
                break;
            case LEFT:
                edges[e.prev].dead = true;
                edges[l.prev].next = n;
                edges[e.next].prev = n;
                w = l.a;
                edges.push_back({w, e.b, e.a, l.prev, e.next, false});
                front.pending = n;
                break;
            case RIGHT:
                edges[e.next].dead = true;
                edges[rr.next].prev = n;
                edges[e.prev].next = n;
                w = rr.b;
                edges.push_back({e.a, w, e.b, e.prev, rr.next, false});
                front.pending = n;
                break;
            default:  // END
                edges[e.prev].dead = true;
                edges[e.next].dead = true;
                edges[l.prev].next = rr.next;
                edges[rr.next].prev = l.prev;
                w = l.a;
                break;
            }
            face(e.b, e.a, w);
        }
    }
    if (v != nvert) fail("fewer vertices decoded than declared");
    return m;
}

// Signed residuals of one attribute: M vertices of n components, vertex-major.
std::vector<int32_t> readResiduals(Reader& r, Entropy entropy, size_t count, int n, bool correlated) {
    BitReader bits = readBits(r);
    std::vector<int32_t> out(count * size_t(n));
    if (correlated) {
        std::vector<uint8_t> d = readBlock(r, entropy, count, 0);
        for (size_t i = 0; i < count; i++) {
            if (d[i] > 32) fail("bit length above 32");
            if (d[i] == 0) continue;
            for (int c = 0; c < n; c++)
                out[i * n + c] = int32_t(int64_t(bits.read(d[i])) - (int64_t(1) << (d[i] - 1)));
        }
        return out;
    }
    std::vector<std::vector<uint8_t>> ds(n);
    for (int c = 0; c < n; c++) ds[c] = readBlock(r, entropy, count, 0);
    for (int c = 0; c < n; c++) {
        for (size_t i = 0; i < count; i++) {
            uint8_t d = ds[c][i];
            if (d > 32) fail("bit length above 32");
            if (d == 0) continue;
            int64_t u = bits.read(d);
            int64_t half = int64_t(1) << (d - 1);
            out[i * n + c] = int32_t(uint32_t(u >= half ? u : -u - half));
        }
    }
    return out;
}

int32_t wrapAdd(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }
int32_t wrapSub(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }

void undoPrediction(std::vector<int32_t>& v, int n, const Mesh* mesh, bool parallel, uint32_t mod) {
    size_t count = v.size() / size_t(n);
    for (size_t i = 1; i < count; i++) {
        for (int c = 0; c < n; c++) {
            int32_t p;
            if (!mesh) {
                p = v[(i - 1) * n + c];
            } else {
                const Pred& q = mesh->pred[i];
                p = v[size_t(q[0]) * n + c];
                if (parallel) p = wrapSub(wrapAdd(p, v[size_t(q[1]) * n + c]), v[size_t(q[2]) * n + c]);
            }
            int32_t s = wrapAdd(v[i * n + c], p);
            v[i * n + c] = mod ? int32_t(uint32_t(s) % mod) : s;
        }
    }
}

struct Payload {
    std::vector<int32_t> values;  // after prediction undo
    std::vector<uint8_t> steps;   // colour channel steps
    uint8_t mode = 0;             // normal prediction
};

void decodeNormals(const Payload& pl, const AttributeInfo& a, const std::vector<int32_t>* positions,
                   const Mesh* mesh, uint32_t nvert, float* out) {
    const int unit = int(a.q);
    std::vector<float> estimate(size_t(nvert) * 3, 0.0f);
    if (mesh && pl.mode != NORMAL_DIFF) estimateNormals(*positions, mesh->index, estimate);
    std::vector<char> coded(nvert, pl.mode != NORMAL_BORDER);
    if (pl.mode == NORMAL_BORDER && mesh) {
        std::vector<uint32_t> flag = borderFlags(mesh->index, nvert);
        for (uint32_t i = 0; i < nvert; i++) coded[i] = flag[i] != 0;
    }
    size_t k = 0;
    for (uint32_t i = 0; i < nvert; i++) {
        float* o = out + size_t(i) * 3;
        if (!coded[i]) {
            normalize(estimate.data() + size_t(i) * 3, o);
            continue;
        }
        int32_t x = pl.values[k * 2], y = pl.values[k * 2 + 1];
        k++;
        if (pl.mode != NORMAL_DIFF) {
            Octa e = toOcta(estimate.data() + size_t(i) * 3, unit);
            x = wrapAdd(x, e.x);
            y = wrapAdd(y, e.y);
        }
        toSphere(Octa{x, y}, unit, o);
    }
}

}  // namespace

Decoder::Decoder(const uint8_t* data, size_t size, DecoderLimits limits) : data_(data), size_(size) {
    Reader r{data, size, 0};
    try {
        if (!data && size) fail("no input");
        if (r.u32() != MAGIC) fail("not a compressed mesh stream");
        if (r.u32() != 1) fail("unsupported stream version");
        entropy_ = r.u8();
        if (entropy_ > ENTROPY_TUNSTALL) fail("unknown entropy coding");
        uint32_t e = r.u32();
        for (uint32_t i = 0; i < e; i++) {
            std::string key = r.str();
            exif[key] = r.str();
        }
        uint32_t count = r.u32();
        if (count > r.remaining() / 11) fail("attribute count exceeds the stream");
        for (uint32_t i = 0; i < count; i++) {
            AttributeInfo a;
            a.name = r.str();
            a.codec = r.u32();
            if (a.codec != CODEC_NORMAL && a.codec != CODEC_COLOR) a.codec = CODEC_GENERIC;
            a.q = r.f32();
            a.components = r.u8();
            a.format = r.u8();
            a.strategy = r.u8();
            if (hasAttribute(a.name)) fail("duplicate attribute name");
            bool good = a.codec == CODEC_COLOR    ? a.components == 3 || a.components == 4
                        : a.codec == CODEC_NORMAL ? a.components == 3 && a.q >= 1 && a.q <= 1 << 24
                                                  : a.components >= 1 && a.components <= 16 && std::isfinite(a.q);
            // The standard names have fixed shapes that callers size their buffers by.
            if (a.name == "position" || a.name == "uv")
                good = good && a.codec == CODEC_GENERIC && a.components == (a.name == "uv" ? 2 : 3);
            if (a.name == "normal") good = good && a.codec == CODEC_NORMAL;
            if (a.name == "color") good = good && a.codec == CODEC_COLOR;
            if (!good) fail("bad attribute descriptor");
            attributes.push_back(a);
        }
        nvert_ = r.u32();
        nface_ = r.u32();
        if (nvert_ > limits.maxVertices || nface_ > limits.maxFaces) fail("vertex or face count over the limit");
        if (nface_ && (nvert_ < 3 || uint64_t(nvert_) > 3 * uint64_t(nface_))) fail("vertex count does not fit the faces");
        // Every face and every vertex costs at least one symbol or bit length.
        uint64_t room = uint64_t(r.remaining()) * MAX_EXPANSION;
        if (nface_ > room || (!attributes.empty() && nvert_ > room)) fail("counts exceed what the stream can hold");
        uint32_t g = r.u32();
        if (nface_ && g == 0) fail("mesh without groups");
        if (g > r.remaining() / 5) fail("group count exceeds the stream");
        uint32_t prev = 0;
        for (uint32_t i = 0; i < g; i++) {
            Group grp;
            grp.end = r.u32();
            uint8_t k = r.u8();
            for (uint8_t j = 0; j < k; j++) {
                std::string key = r.str();
                grp.properties[key] = r.str();
            }
            if (nface_ && (grp.end < prev || grp.end > nface_)) fail("bad group end");
            prev = grp.end;
            groups.push_back(grp);
        }
        if (nface_ && prev != nface_) fail("groups do not cover the faces");
        body_ = r.pos;
        outputs_.assign(attributes.size(), nullptr);
    } catch (const StreamError& err) {
        error_ = err.message;
    } catch (const std::bad_alloc&) {
        error_ = "out of memory";
    }
}

bool Decoder::hasAttribute(const std::string& name) const {
    for (const AttributeInfo& a : attributes)
        if (a.name == name) return true;
    return false;
}

bool Decoder::setOutput(const std::string& name, void* out) {
    for (size_t i = 0; i < attributes.size(); i++) {
        if (attributes[i].name == name) {
            outputs_[i] = out;
            return true;
        }
    }
    return false;
}

bool Decoder::setColors(uint8_t* out, int components) {
    if (components != 3 && components != 4) return false;
    colorComponents_ = components;
    return setOutput("color", out);
}

bool Decoder::decode() {
    if (!ok()) return false;
    if (decoded_) {
        error_ = "stream already decoded";
        return false;
    }
    decoded_ = true;
    try {
        Reader r{data_, size_, body_};
        const Entropy entropy = Entropy(entropy_);
        Mesh mesh;
        const bool isMesh = nface_ > 0;
        if (isMesh) {
            if (!index_) fail("no index output given");
            mesh = decodeConnectivity(r, entropy, nvert_, nface_, groups);
        }
        const Mesh* ctx = isMesh ? &mesh : nullptr;

        std::vector<size_t> order(attributes.size());
        for (size_t i = 0; i < order.size(); i++) order[i] = i;
        std::sort(order.begin(), order.end(),
                  [&](size_t x, size_t y) { return attributes[x].name < attributes[y].name; });

        std::vector<Payload> payloads(attributes.size());
        const std::vector<int32_t>* positions = nullptr;
        for (size_t i : order) {
            const AttributeInfo& a = attributes[i];
            Payload& pl = payloads[i];
            if (a.codec == CODEC_COLOR) {
                const uint8_t* steps = r.take(a.components);
                pl.steps.assign(steps, steps + a.components);
                pl.values = readResiduals(r, entropy, nvert_, a.components, false);
                undoPrediction(pl.values, a.components, ctx, a.strategy & STRATEGY_PARALLEL, 256);
            } else if (a.codec == CODEC_NORMAL) {
                pl.mode = r.u8();
                if (pl.mode > NORMAL_BORDER) fail("unknown normal prediction");
                size_t m = nvert_;
                if (pl.mode == NORMAL_BORDER) {
                    m = 0;
                    if (isMesh)
                        for (uint32_t f : borderFlags(mesh.index, nvert_)) m += f != 0;
                }
                pl.values = readResiduals(r, entropy, m, 2, true);
                if (pl.mode == NORMAL_DIFF) undoPrediction(pl.values, 2, ctx, false, 0);
            } else {
                pl.values = readResiduals(r, entropy, nvert_, a.components, a.strategy & STRATEGY_CORRELATED);
                undoPrediction(pl.values, a.components, ctx, a.strategy & STRATEGY_PARALLEL, 0);
                if (a.name == "position" && a.components == 3) positions = &pl.values;
            }
        }

        for (size_t i = 0; i < attributes.size(); i++) {
            const AttributeInfo& a = attributes[i];
            const Payload& pl = payloads[i];
            if (!outputs_[i]) continue;
            if (a.codec == CODEC_NORMAL) {
                if (isMesh && pl.mode != NORMAL_DIFF && !positions)
                    fail("estimated normals need a 3-component position attribute");
                decodeNormals(pl, a, positions, ctx, nvert_, static_cast<float*>(outputs_[i]));
            } else if (a.codec == CODEC_COLOR) {
                uint8_t* out = static_cast<uint8_t*>(outputs_[i]);
                const int n = a.components;
                for (uint32_t v = 0; v < nvert_; v++) {
                    const int32_t* ycc = pl.values.data() + size_t(v) * n;
                    uint8_t* o = out + size_t(v) * colorComponents_;
                    o[0] = uint8_t(((ycc[2] + ycc[0]) & 255) * pl.steps[0]);
                    o[1] = uint8_t(ycc[0] * pl.steps[1]);
                    o[2] = uint8_t(((ycc[1] + ycc[0]) & 255) * pl.steps[2]);
                    if (colorComponents_ == 4) o[3] = n == 4 ? uint8_t(ycc[3] * pl.steps[3]) : 255;
                }
            } else {
                float* out = static_cast<float*>(outputs_[i]);
                for (size_t k = 0; k < pl.values.size(); k++) out[k] = float(pl.values[k]) * a.q;
            }
        }
        if (isMesh) std::copy(mesh.index.begin(), mesh.index.end(), index_);
    } catch (const StreamError& err) {
        error_ = err.message;
        return false;
    } catch (const std::bad_alloc&) {
        error_ = "out of memory";
        return false;
    }
    return true;
}

}  // namespace crt
