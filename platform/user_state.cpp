#include "platform/user_state.h"

#include <cstdlib>

std::string userStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/') return std::string(state) + "/torvanel";
    const char* home = std::getenv("HOME");
    if (home && home[0]) return std::string(home) + "/.local/state/torvanel";
    return std::string();
}
