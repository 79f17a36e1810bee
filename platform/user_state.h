// user_state.h - where the program keeps what a user's sessions share: the
// XDG state folder ($XDG_STATE_HOME/torvanel, by default
// ~/.local/state/torvanel), never the data folder, which may be read-only.
#pragma once
#include <string>

// The folder's path; empty when neither XDG_STATE_HOME nor HOME is set.
std::string userStateFolder();
