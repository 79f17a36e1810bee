#include "crt_encoder.h"

#include "crt_front.h"
#include "crt_normal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>

namespace crt {

namespace {

using Pred = std::array<uint32_t, 3>;

struct Edge {
    uint32_t a, b, o, prev, next;
    uint32_t he;  // face * 3 + side of the coded face the edge belongs to
    bool dead;
};

struct Connectivity {
    std::vector<uint8_t> symbols;
    BitWriter split;
    uint32_t maxFront = 0;
    std::vector<uint32_t> order;  // stored vertex -> input vertex
    std::vector<Pred> pred;
    std::vector<uint32_t> index;  // stored ids, in decoding order
};

int splitWidth(uint32_t nvert) {
    int b = 0;
    while (nvert >> (b + 1)) b++;
    return b + 1;
}

// Pairs each half-edge (side k runs from corner k+1 to corner k+2) with an opposite one.
std::vector<int64_t> adjacency(const std::vector<uint32_t>& tri) {
    size_t nh = tri.size();
    struct Half {
        uint32_t a, b, he;
    };
    std::vector<Half> hs(nh);
    for (size_t h = 0; h < nh; h++) {
        size_t f = h / 3, k = h % 3;
        hs[h] = {tri[f * 3 + (k + 1) % 3], tri[f * 3 + (k + 2) % 3], uint32_t(h)};
    }
    auto less = [](const Half& x, const Half& y) {
        return x.a != y.a ? x.a < y.a : x.b != y.b ? x.b < y.b : x.he < y.he;
    };
    std::sort(hs.begin(), hs.end(), less);
    std::vector<int64_t> opp(nh, -1);
    for (const Half& h : hs) {
        if (opp[h.he] >= 0) continue;
        auto it = std::lower_bound(hs.begin(), hs.end(), Half{h.b, h.a, 0}, less);
        for (; it != hs.end() && it->a == h.b && it->b == h.a; ++it) {
            if (opp[it->he] < 0 && it->he != h.he) {
                opp[h.he] = it->he;
                opp[it->he] = h.he;
                break;
            }
        }
    }
    return opp;
}

void codeGroup(const std::vector<uint32_t>& tri, std::vector<uint32_t>& id, int width, Connectivity& out) {
    const std::vector<int64_t> opp = adjacency(tri);
    const size_t nf = tri.size() / 3;
    std::vector<char> coded(nf, 0);
    std::vector<Edge> edges;
    FrontOrder front;
    size_t start = 0, left = nf;
    auto emitFace = [&](uint32_t a, uint32_t b, uint32_t c) { out.index.insert(out.index.end(), {a, b, c}); };
    auto number = [&](uint32_t old, const Pred& p) {
        id[old] = uint32_t(out.order.size());
        out.order.push_back(old);
        out.pred.push_back(p);
        return id[old];
    };
    while (left > 0) {
        if (front.empty()) {
            while (coded[start]) start++;
            const uint32_t* c = &tri[start * 3];
            uint32_t mask = 0;
            for (int k = 0; k < 3; k++)
                if (id[c[k]] != NONE) mask |= 1u << k;
            out.symbols.push_back(mask ? SPLIT : VERTEX);
            if (mask) {
                out.split.write(mask, 3);
                for (int k = 0; k < 3; k++)
                    if (mask & (1u << k)) out.split.write(id[c[k]], width);
            }
            uint32_t n[3];
            uint32_t last = out.order.empty() ? NONE : uint32_t(out.order.size() - 1);
            for (int k = 0; k < 3; k++) {
                n[k] = id[c[k]] != NONE ? id[c[k]] : number(c[k], Pred{last, last, last});
                if (!(mask & (1u << k))) last = n[k];
            }
            emitFace(n[0], n[1], n[2]);
            uint32_t t = uint32_t(edges.size());
            uint32_t he = uint32_t(start * 3);
            edges.push_back({n[1], n[2], n[0], t + 2, t + 1, he, false});
            edges.push_back({n[2], n[0], n[1], t, t + 2, he + 1, false});
            edges.push_back({n[0], n[1], n[2], t + 1, t, he + 2, false});
            front.queue.insert(front.queue.end(), {t, t + 1, t + 2});
            coded[start] = 1;
            left--;
            out.maxFront = std::max(out.maxFront, uint32_t(edges.size()));
            continue;
        }
        uint32_t x = front.next();
        if (edges[x].dead) continue;
        const Edge e = edges[x];
        const int64_t o = opp[e.he];
        if (o < 0 || coded[o / 3]) {
            out.symbols.push_back(BOUNDARY);
            continue;
        }
        const size_t f = size_t(o / 3), s = size_t(o % 3);
        const Edge l = edges[e.prev];
        const Edge r = edges[e.next];
        const bool acrossL = opp[l.he] >= 0 && size_t(opp[l.he] / 3) == f;
        const bool acrossR = opp[r.he] >= 0 && size_t(opp[r.he] / 3) == f;
        const uint32_t heNext = uint32_t(f * 3 + (s + 1) % 3), heLast = uint32_t(f * 3 + (s + 2) % 3);
        const uint32_t n = uint32_t(edges.size());
        uint32_t w;
        if (acrossL && acrossR) {
            out.symbols.push_back(END);
            edges[e.prev].dead = true;
            edges[e.next].dead = true;
            edges[l.prev].next = r.next;
            edges[r.next].prev = l.prev;
            w = l.a;
        } else if (acrossL) {
            out.symbols.push_back(LEFT);
            edges[e.prev].dead = true;
            edges[l.prev].next = n;
            edges[e.next].prev = n;
            w = l.a;
            edges.push_back({w, e.b, e.a, l.prev, e.next, heLast, false});
            front.pending = n;
        } else if (acrossR) {
            out.symbols.push_back(RIGHT);
            edges[e.next].dead = true;
            edges[r.next].prev = n;
            edges[e.prev].next = n;
            w = r.b;
            edges.push_back({e.a, w, e.b, e.prev, r.next, heNext, false});
            front.pending = n;
        } else {
            const uint32_t old = tri[f * 3 + s];
            if (id[old] != NONE && front.queueLeft()) {
                out.symbols.push_back(DELAY);
                front.stack.push_back(x);
                continue;
            }
            if (id[old] != NONE) {
                out.symbols.push_back(SPLIT);
                out.split.write(id[old], width);
                w = id[old];
            } else {
                out.symbols.push_back(VERTEX);
                w = number(old, Pred{e.b, e.a, e.o});
            }
            edges[e.prev].next = n;
            edges[e.next].prev = n + 1;
            edges.push_back({e.a, w, e.b, e.prev, n + 1, heNext, false});
            front.queue.push_back(n + 1);
            edges.push_back({w, e.b, e.a, n, e.next, heLast, false});
            front.pending = n;
        }
        emitFace(e.b, e.a, w);
        coded[f] = 1;
        left--;
        out.maxFront = std::max(out.maxFront, uint32_t(edges.size()));
    }
}

int bitLength(uint64_t v) {
    int n = 0;
    while (v) {
        n++;
        v >>= 1;
    }
    return n;
}

int signedWidth(int32_t v) {
    if (v == 0) return 0;
    if (v == -1) return 1;
    return v > 0 ? bitLength(uint64_t(v)) + 1 : bitLength(uint64_t(-int64_t(v) - 1)) + 1;
}

int32_t wrapSub(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }
int32_t wrapAdd(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }

// Residuals of vertex-major integer values against the prediction contexts.
std::vector<int32_t> residuals(const std::vector<int32_t>& v, int n, const std::vector<Pred>* pred, bool parallel) {
    std::vector<int32_t> r(v);
    size_t count = v.size() / size_t(n);
    for (size_t i = 1; i < count; i++) {
        for (int c = 0; c < n; c++) {
            int32_t p;
            if (!pred) {
                p = v[(i - 1) * n + c];
            } else {
                const Pred& q = (*pred)[i];
                p = v[size_t(q[0]) * n + c];
                if (parallel) p = wrapSub(wrapAdd(p, v[size_t(q[1]) * n + c]), v[size_t(q[2]) * n + c]);
            }
            r[i * n + c] = wrapSub(v[i * n + c], p);
        }
    }
    return r;
}

void writeResiduals(Writer& w, Entropy entropy, const std::vector<int32_t>& r, int n, bool correlated) {
    size_t count = r.size() / size_t(n);
    BitWriter bits;
    if (correlated) {
        std::vector<uint8_t> d(count);
        for (size_t i = 0; i < count; i++) {
            int m = 0;
            for (int c = 0; c < n; c++) m = std::max(m, signedWidth(r[i * n + c]));
            d[i] = uint8_t(m);
            if (m)
                for (int c = 0; c < n; c++) bits.write(uint32_t(int64_t(r[i * n + c]) + (int64_t(1) << (m - 1))), m);
        }
        writeBits(w, bits);
        writeBlock(w, entropy, d);
        return;
    }
    std::vector<std::vector<uint8_t>> ds(n, std::vector<uint8_t>(count));
    for (int c = 0; c < n; c++) {
        for (size_t i = 0; i < count; i++) {
            int64_t v = r[i * n + c];
            if (v == 0) continue;
            int d = bitLength(uint64_t(v < 0 ? -v : v));
            ds[c][i] = uint8_t(d);
            bits.write(uint32_t(v > 0 ? v : -v - (int64_t(1) << (d - 1))), d);
        }
    }
    writeBits(w, bits);
    for (int c = 0; c < n; c++) writeBlock(w, entropy, ds[c]);
}

uint64_t morton(const int32_t* p, const int64_t* low) {
    uint64_t code = 0;
    for (int c = 0; c < 3; c++) {
        uint64_t v = uint64_t(int64_t(p[c]) - low[c]) & 0x1FFFFF;
        for (int b = 0; b < 21; b++) code |= ((v >> b) & 1) << (3 * b + c);
    }
    return code;
}

}  // namespace

float edgeStep(const float* xyz, const uint32_t* index, uint32_t nface) {
    if (nface == 0) return 0;
    double sum = 0;
    for (uint32_t f = 0; f < nface; f++) {
        const float* a = xyz + size_t(index[f * 3]) * 3;
        const float* b = xyz + size_t(index[f * 3 + 1]) * 3;
        double dx = double(b[0]) - a[0], dy = double(b[1]) - a[1], dz = double(b[2]) - a[2];
        sum += std::sqrt(dx * dx + dy * dy + dz * dz);
    }
    return float(sum / nface / 20);
}

static void extent(const float* xyz, uint32_t nvert, float d[3]) {
    for (int c = 0; c < 3; c++) {
        float lo = xyz[c], hi = xyz[c];
        for (uint32_t i = 1; i < nvert; i++) {
            lo = std::min(lo, xyz[i * 3 + c]);
            hi = std::max(hi, xyz[i * 3 + c]);
        }
        d[c] = hi - lo;
    }
}

float bitsStep(const float* xyz, uint32_t nvert, int bits) {
    if (nvert == 0) return 0;
    float d[3];
    extent(xyz, nvert, d);
    return std::max(d[0], std::max(d[1], d[2])) / float(std::ldexp(1.0, bits));
}

float cloudStep(const float* xyz, uint32_t nvert) {
    if (nvert == 0) return 0;
    float d[3];
    extent(xyz, nvert, d);
    return float(0.02 * std::pow(double(d[0]) * d[1] * d[2], 2.0 / 3.0) / nvert);
}

Encoder::Encoder(uint32_t nvert, uint32_t nface, Entropy entropy) : nvert_(nvert), nface_(nface), entropy_(entropy) {}

void Encoder::addAttribute(const std::string& name, const float* values, int components, float step) {
    Input in;
    in.info = {name, CODEC_GENERIC, step, uint8_t(components), 6, 0};
    in.values = values;
    inputs_.push_back(in);
}

void Encoder::addUvs(const float* uv, int bits) { addAttribute("uv", uv, 2, float(std::ldexp(1.0, -bits))); }

void Encoder::addColors(const uint8_t* colors, int components, const int bits[4]) {
    static const int defaults[4] = {6, 7, 6, 5};
    Input in;
    in.info = {"color", CODEC_COLOR, 0, uint8_t(components), 4, 0};
    in.colors = colors;
    std::copy(bits ? bits : defaults, (bits ? bits : defaults) + 4, in.bits);
    inputs_.push_back(in);
}

void Encoder::addNormals(const float* normals, int bits, NormalPrediction mode) {
    Input in;
    in.info = {"normal", CODEC_NORMAL, float(std::ldexp(1.0, bits - 1)), 3, 6, STRATEGY_CORRELATED};
    in.values = normals;
    in.bits[0] = bits;
    in.mode = mode;
    inputs_.push_back(in);
}

void Encoder::addGroup(uint32_t end, const std::map<std::string, std::string>& properties) {
    groups_.push_back({end, properties});
}

bool Encoder::encode() {
    stream.clear();
    order_.clear();
    error_.clear();
    try {
        std::sort(inputs_.begin(), inputs_.end(),
                  [](const Input& a, const Input& b) { return a.info.name < b.info.name; });
        const Input* position = nullptr;
        for (size_t i = 0; i < inputs_.size(); i++) {
            const Input& in = inputs_[i];
            if (i && in.info.name == inputs_[i - 1].info.name) fail("duplicate attribute");
            if (in.info.name == "position") position = &in;
            if (in.info.codec == CODEC_GENERIC && (!(in.info.q > 0) || !std::isfinite(in.info.q)))
                fail("quantisation step must be positive");
            if (in.info.codec == CODEC_GENERIC && (in.info.components < 1 || in.info.components > 16))
                fail("bad component count");
            if (in.info.codec == CODEC_COLOR && in.info.components != 3 && in.info.components != 4)
                fail("colours need 3 or 4 components");
            if (in.info.codec == CODEC_NORMAL && (in.bits[0] < 2 || in.bits[0] > 22)) fail("bad normal bits");
            for (int c = 0; in.info.codec == CODEC_COLOR && c < 4; c++)
                if (in.bits[c] < 1 || in.bits[c] > 8) fail("bad colour bits");
            if (!in.values && !in.colors) fail("attribute without values");
        }
        if (!position) fail("positions are required");
        if (nvert_ == 0) fail("no vertices");
        const bool isMesh = nface_ > 0;

        Connectivity con;
        std::vector<Group> groups;
        if (isMesh) {
            if (!index_) fail("no index given");
            for (size_t i = 0; i < size_t(nface_) * 3; i++)
                if (index_[i] >= nvert_) fail("index past the vertex count");
            std::vector<Group> in = groups_;
            if (in.empty()) in.push_back({nface_, {}});
            uint32_t prev = 0;
            for (const Group& g : in) {
                if (g.end < prev || g.end > nface_) fail("bad group end");
                prev = g.end;
            }
            if (prev != nface_) fail("groups do not cover the faces");
            // Degenerate faces carry no area; referenced vertices decide the split width.
            std::vector<std::vector<uint32_t>> tris(in.size());
            std::vector<char> used(nvert_, 0);
            uint32_t referenced = 0;
            uint32_t f = 0, kept = 0;
            for (size_t g = 0; g < in.size(); g++) {
                for (; f < in[g].end; f++) {
                    const uint32_t* c = index_ + size_t(f) * 3;
                    if (c[0] == c[1] || c[1] == c[2] || c[0] == c[2]) continue;
                    tris[g].insert(tris[g].end(), c, c + 3);
                    for (int k = 0; k < 3; k++)
                        if (!used[c[k]]) {
                            used[c[k]] = 1;
                            referenced++;
                        }
                    kept++;
                }
                groups.push_back({kept, in[g].properties});
            }
            if (kept == 0) fail("no faces left after dropping degenerate ones");
            std::vector<uint32_t> id(nvert_, NONE);
            const int width = splitWidth(referenced);
            for (const std::vector<uint32_t>& t : tris)
                if (!t.empty()) codeGroup(t, id, width, con);
            order_ = con.order;
        }

        // Quantised values of every generic attribute and of positions in stored order.
        const uint32_t stored = isMesh ? uint32_t(order_.size()) : nvert_;
        if (!isMesh) {
            order_.resize(nvert_);
            for (uint32_t i = 0; i < nvert_; i++) order_[i] = i;
        }
        auto quantise = [&](const Input& in) {
            const int n = in.info.components;
            std::vector<int32_t> q(size_t(stored) * n);
            for (uint32_t i = 0; i < stored; i++)
                for (int c = 0; c < n; c++) {
                    float v = in.values[size_t(order_[i]) * n + c] / in.info.q;
                    if (!(std::fabs(v) < 2147483520.0f)) fail("value out of range for its step");
                    q[size_t(i) * n + c] = int32_t(v);
                }
            return q;
        };
        std::vector<int32_t> qpos = quantise(*position);
        if (!isMesh) {
            int64_t low[3] = {0, 0, 0};
            for (uint32_t i = 0; i < nvert_; i++)
                for (int c = 0; c < 3; c++) low[c] = std::min<int64_t>(low[c], qpos[size_t(i) * 3 + c]);
            std::vector<uint64_t> code(nvert_);
            for (uint32_t i = 0; i < nvert_; i++) code[i] = morton(&qpos[size_t(i) * 3], low);
            std::stable_sort(order_.begin(), order_.end(), [&](uint32_t a, uint32_t b) { return code[a] < code[b]; });
            qpos = quantise(*position);
        }
        const std::vector<Pred>* pred = isMesh ? &con.pred : nullptr;

        Writer w;
        w.u32(0x787A6300);
        w.u32(1);
        w.u8(entropy_);
        w.u32(uint32_t(exif.size()));
        for (const auto& kv : exif) {
            w.str(kv.first);
            w.str(kv.second);
        }
        w.u32(uint32_t(inputs_.size()));
        for (Input& in : inputs_) {
            if (in.info.name == "position") in.info.strategy = isMesh ? STRATEGY_PARALLEL | STRATEGY_CORRELATED : STRATEGY_CORRELATED;
            w.str(in.info.name);
            w.u32(in.info.codec);
            w.f32(in.info.q);
            w.u8(in.info.components);
            w.u8(in.info.format);
            w.u8(in.info.strategy);
        }
        w.u32(stored);
        w.u32(isMesh ? uint32_t(con.index.size() / 3) : 0);
        if (!isMesh) groups.assign(1, Group{});
        w.u32(uint32_t(groups.size()));
        for (const Group& g : groups) {
            w.u32(g.end);
            w.u8(uint8_t(std::min<size_t>(g.properties.size(), 255)));
            size_t k = 0;
            for (const auto& kv : g.properties) {
                if (k++ == 255) break;
                w.str(kv.first);
                w.str(kv.second);
            }
        }
        if (isMesh) {
            w.u32(con.maxFront);
            writeBlock(w, entropy_, con.symbols);
            writeBits(w, con.split);
        }

        for (const Input& in : inputs_) {
            const AttributeInfo& a = in.info;
            if (a.codec == CODEC_COLOR) {
                const int n = a.components;
                std::vector<int32_t> ycc(size_t(stored) * n);
                for (uint32_t i = 0; i < stored; i++) {
                    const uint8_t* c = in.colors + size_t(order_[i]) * n;
                    int x[4];
                    for (int k = 0; k < n; k++) x[k] = c[k] >> (8 - in.bits[k]);
                    int32_t* o = &ycc[size_t(i) * n];
                    o[0] = x[1];
                    o[1] = (x[2] - x[1]) & 255;
                    o[2] = (x[0] - x[1]) & 255;
                    if (n == 4) o[3] = x[3];
                }
                std::vector<int32_t> r = residuals(ycc, n, pred, false);
                for (int32_t& v : r) v = int8_t(uint8_t(v & 255));
                for (int k = 0; k < n; k++) w.u8(uint8_t(1 << (8 - in.bits[k])));
                writeResiduals(w, entropy_, r, n, false);
            } else if (a.codec == CODEC_NORMAL) {
                const int unit = int(a.q);
                // Point-cloud normals have no faces to estimate from.
                const NormalPrediction mode = isMesh ? in.mode : NORMAL_DIFF;
                std::vector<int32_t> oct(size_t(stored) * 2);
                for (uint32_t i = 0; i < stored; i++) {
                    Octa o = toOcta(in.values + size_t(order_[i]) * 3, unit);
                    oct[size_t(i) * 2] = o.x;
                    oct[size_t(i) * 2 + 1] = o.y;
                }
                std::vector<int32_t> r;
                if (mode == NORMAL_DIFF) {
                    r = residuals(oct, 2, pred, false);
                } else {
                    std::vector<float> est(size_t(stored) * 3, 0.0f);
                    estimateNormals(qpos, con.index.data(), con.index.size(), est);
                    std::vector<uint32_t> flag = borderFlags(con.index.data(), con.index.size(), stored);
                    for (uint32_t i = 0; i < stored; i++) {
                        if (mode == NORMAL_BORDER && flag[i] == 0) continue;
                        Octa e = toOcta(&est[size_t(i) * 3], unit);
                        r.push_back(wrapSub(oct[size_t(i) * 2], e.x));
                        r.push_back(wrapSub(oct[size_t(i) * 2 + 1], e.y));
                    }
                }
                w.u8(mode);
                writeResiduals(w, entropy_, r, 2, true);
            } else {
                const int n = a.components;
                std::vector<int32_t> q = a.name == "position" ? qpos : quantise(in);
                bool correlated = a.strategy & STRATEGY_CORRELATED;
                writeResiduals(w, entropy_, residuals(q, n, pred, a.strategy & STRATEGY_PARALLEL), n, correlated);
            }
        }
        stream = std::move(w.bytes);
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
