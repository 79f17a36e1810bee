// crt_front.h - what the connectivity encoder and decoder share: the symbols
// of the face stream, and the order in which both visit the open edges of the
// growing front. The two sides stay in step only if they follow that order
// exactly, so there is one copy of it.
//
//   FrontOrder front;
//   while (...) {
//       if (front.empty()) { /* start a component, push its three edges */ }
//       uint32_t x = front.next();   // the edge just made, the queue, then the set-aside
//   }
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace crt {

constexpr uint32_t NONE = 0xFFFFFFFF;

enum Symbol : uint8_t { VERTEX, LEFT, RIGHT, END, BOUNDARY, DELAY, SPLIT };

struct FrontOrder {
    std::vector<uint32_t> queue;  // edges in the order they opened
    std::vector<uint32_t> stack;  // edges set aside (DELAY), newest first
    size_t read = 0;              // queue entries already taken
    uint32_t pending = NONE;      // the edge the last face made, taken next

    bool empty() const { return pending == NONE && read == queue.size() && stack.empty(); }
    bool queueLeft() const { return read < queue.size(); }

    // Only when !empty().
    uint32_t next() {
        uint32_t x;
        if (pending != NONE) {
            x = pending;
            pending = NONE;
        } else if (read < queue.size()) {
            x = queue[read++];
        } else {
            x = stack.back();
            stack.pop_back();
        }
        return x;
    }

    void clear() {
        queue.clear();
        stack.clear();
        read = 0;
        pending = NONE;
    }
};

}  // namespace crt
