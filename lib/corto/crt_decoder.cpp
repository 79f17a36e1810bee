#include "crt_decoder.h"

#include "crt_front.h"
#include "crt_normal.h"
#include "crt_stream.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
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

// Storage the decoder fills completely before reading it, so it is left
// uninitialised: zero-filling these arrays cost more than filling them.
struct Mesh {
    std::unique_ptr<uint32_t[]> index;  // three per face
    size_t indexCount = 0;
    std::unique_ptr<Pred[]> pred;  // per vertex: the vertices its values are predicted from
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
    // Written through counters into storage sized up front: the loop below
    // is the decoder's hottest, and growth checks cost more than the work.
    m.indexCount = size_t(nface) * 3;
    m.index.reset(new uint32_t[m.indexCount]);
    m.pred.reset(new Pred[nvert]);  // every vertex's entry is set as it is made
    uint32_t* index = m.index.get();
    size_t faces = 0;  // index entries written
    uint32_t v = 0;
    const uint8_t* symbol = symbols.data();
    const uint8_t* symbolsEnd = symbol + symbols.size();
    auto next = [&]() {
        if (symbol == symbolsEnd) fail("connectivity symbols exhausted");
        uint8_t s = *symbol++;
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
    // The loop checks before every step that faces stay below its group's end,
    // and a step adds at most one face: no face is written past nface.
    auto face = [&](uint32_t a, uint32_t b, uint32_t c) {
        if (a == b || b == c || a == c) fail("degenerate face");
        index[faces] = a;
        index[faces + 1] = b;
        index[faces + 2] = c;
        faces += 3;
    };

    // Every edge is made by a step that took a symbol, three at most (a
    // component's first face), so three per symbol bound them.
    std::unique_ptr<Edge[]> edges(new Edge[symbols.size() * 3 + 3]);
    Edge* edge = edges.get();
    uint32_t edgeCount = 0;
    auto addEdge = [&](uint32_t a, uint32_t b, uint32_t o, uint32_t prev, uint32_t nextEdge) {
        edge[edgeCount] = Edge{a, b, o, prev, nextEdge, false};
        return edgeCount++;
    };
    FrontOrder front;
    front.queue.reserve(symbols.size() + 3);
    for (const Group& g : groups) {
        edgeCount = 0;
        front.clear();
        const size_t groupEnd = size_t(g.end) * 3;
        while (faces < groupEnd) {
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
                uint32_t t = edgeCount;
                addEdge(c[1], c[2], c[0], t + 2, t + 1);
                addEdge(c[2], c[0], c[1], t, t + 2);
                addEdge(c[0], c[1], c[2], t + 1, t);
                front.queue.insert(front.queue.end(), {t, t + 1, t + 2});
                continue;
            }
            uint32_t x = front.next();
            if (edge[x].dead) continue;
            uint8_t s = next();
            if (s == BOUNDARY) continue;
            if (s == DELAY) {
                front.stack.push_back(x);
                continue;
            }
            const Edge e = edge[x];
            uint32_t n = edgeCount;
            uint32_t w;
            switch (s) {
            case VERTEX:
            case SPLIT:
                w = s == SPLIT ? known() : newVertex(Pred{e.b, e.a, e.o});
                edge[e.prev].next = n;
                edge[e.next].prev = n + 1;
                addEdge(e.a, w, e.b, e.prev, n + 1);
                front.queue.push_back(n + 1);
                addEdge(w, e.b, e.a, n, e.next);
                front.pending = n;
                break;
            case LEFT: {
                const Edge l = edge[e.prev];
                edge[e.prev].dead = true;
                edge[l.prev].next = n;
                edge[e.next].prev = n;
                w = l.a;
                addEdge(w, e.b, e.a, l.prev, e.next);
                front.pending = n;
                break;
            }
            case RIGHT: {
                const Edge rr = edge[e.next];
                edge[e.next].dead = true;
                edge[rr.next].prev = n;
                edge[e.prev].next = n;
                w = rr.b;
                addEdge(e.a, w, e.b, e.prev, rr.next);
                front.pending = n;
                break;
            }
            default: {  // END
                const Edge l = edge[e.prev], rr = edge[e.next];
                edge[e.prev].dead = true;
                edge[e.next].dead = true;
                edge[l.prev].next = rr.next;
                edge[rr.next].prev = l.prev;
                w = l.a;
                break;
            }
            }
            face(e.b, e.a, w);
        }
    }
    if (v != nvert) fail("fewer vertices decoded than declared");
    if (faces != m.indexCount) fail("fewer faces decoded than declared");
    return m;
}

// Signed residuals of one attribute: M vertices of n components, vertex-major.
// The bit lengths are checked and summed first, so the fields themselves are
// read without a check each.
std::vector<int32_t> readResiduals(Reader& r, Entropy entropy, size_t count, int n, bool correlated) {
    BitReader bits = readBits(r);
    std::vector<int32_t> out(count * size_t(n));
    if (correlated) {
        std::vector<uint8_t> d = readBlock(r, entropy, count, 0);
        uint64_t need = 0;
        for (uint8_t length : d) {
            if (length > 32) fail("bit length above 32");
            need += length;
        }
        if (need * uint64_t(n) > bits.left()) fail("bit stream exhausted");
        for (size_t i = 0; i < count; i++) {
            if (d[i] == 0) continue;
            for (int c = 0; c < n; c++)
                out[i * n + c] = int32_t(int64_t(bits.readChecked(d[i])) - (int64_t(1) << (d[i] - 1)));
        }
        return out;
    }
    std::vector<std::vector<uint8_t>> ds(n);
    uint64_t need = 0;
    for (int c = 0; c < n; c++) {
        ds[c] = readBlock(r, entropy, count, 0);
        for (uint8_t length : ds[c]) {
            if (length > 32) fail("bit length above 32");
            need += length;
        }
    }
    if (need > bits.left()) fail("bit stream exhausted");
    for (int c = 0; c < n; c++) {
        const uint8_t* lengths = ds[c].data();
        for (size_t i = 0; i < count; i++) {
            uint8_t d = lengths[i];
            if (d == 0) continue;
            int64_t u = bits.readChecked(d);
            int64_t half = int64_t(1) << (d - 1);
            out[i * n + c] = int32_t(uint32_t(u >= half ? u : -u - half));
        }
    }
    return out;
}

int32_t wrapAdd(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }
int32_t wrapSub(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }

// Adds each value's prediction back: the previous value without a mesh, the
// first predecessor's, or (parallelogram) first + second - third. The three
// forms are separate loops so that each runs without per-value branches;
// mod (colours) wraps the sums afterwards.
void undoPrediction(std::vector<int32_t>& v, int n, const Mesh* mesh, bool parallel, uint32_t mod) {
    const size_t count = v.size() / size_t(n);
    int32_t* x = v.data();
    if (!mesh) {
        for (size_t k = size_t(n); k < count * size_t(n); k++) x[k] = wrapAdd(x[k], x[k - size_t(n)]);
    } else if (!parallel) {
        for (size_t i = 1; i < count; i++) {
            const int32_t* p = x + size_t(mesh->pred[i][0]) * n;
            for (int c = 0; c < n; c++) x[i * n + c] = wrapAdd(x[i * n + c], p[c]);
        }
    } else {
        for (size_t i = 1; i < count; i++) {
            const Pred& q = mesh->pred[i];
            const int32_t *a = x + size_t(q[0]) * n, *b = x + size_t(q[1]) * n, *d = x + size_t(q[2]) * n;
            for (int c = 0; c < n; c++) x[i * n + c] = wrapAdd(x[i * n + c], wrapSub(wrapAdd(a[c], b[c]), d[c]));
        }
    }
    if (mod)
        for (size_t k = size_t(n); k < count * size_t(n); k++) x[k] = int32_t(uint32_t(x[k]) % mod);
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
    if (mesh && pl.mode != NORMAL_DIFF) estimateNormals(*positions, mesh->index.get(), mesh->indexCount, estimate);
    std::vector<char> coded(nvert, pl.mode != NORMAL_BORDER);
    if (pl.mode == NORMAL_BORDER && mesh) {
        std::vector<uint32_t> flag = borderFlags(mesh->index.get(), mesh->indexCount, nvert);
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
                        for (uint32_t f : borderFlags(mesh.index.get(), mesh.indexCount, nvert_)) m += f != 0;
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
        if (isMesh) memcpy(index_, mesh.index.get(), mesh.indexCount * sizeof(uint32_t));
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
