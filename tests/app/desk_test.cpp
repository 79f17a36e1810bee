// The desk's keys and its choice of which saved files rebuild the shaders.
#include "app/desk.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "app/app_state.h"

TEST(Desk, KeysBecomeTransportCommandsAndToggleTheHud) {
    AppState state;
    std::vector<DeskCommand>& commands = state.live.deskCommands;
    EXPECT_TRUE(handleDeskKey(state, SDL_SCANCODE_P, false, false));
    EXPECT_TRUE(handleDeskKey(state, SDL_SCANCODE_RIGHT, false, true));  // held: repeats
    EXPECT_FALSE(handleDeskKey(state, SDL_SCANCODE_P, false, true));     // a toggle does not
    EXPECT_TRUE(handleDeskKey(state, SDL_SCANCODE_3, true, false));
    EXPECT_TRUE(handleDeskKey(state, SDL_SCANCODE_3, false, false));
    EXPECT_FALSE(handleDeskKey(state, SDL_SCANCODE_A, false, false));      // the opening key stays the show's
    EXPECT_FALSE(handleDeskKey(state, SDL_SCANCODE_SPACE, false, false));  // and so does the rebuild key
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0].action, DESK_PAUSE);
    EXPECT_EQ(commands[1].action, DESK_SEEK);
    EXPECT_FLOAT_EQ(commands[1].seconds, 1.0f);
    EXPECT_EQ(commands[2].action, DESK_STORE_BOOKMARK);
    EXPECT_EQ(commands[2].slot, 2);
    EXPECT_EQ(commands[3].action, DESK_JUMP_BOOKMARK);

    EXPECT_FALSE(state.desk.hudVisible);
    handleDeskKey(state, SDL_SCANCODE_H, false, false);
    EXPECT_TRUE(state.desk.hudVisible);
}

TEST(Desk, OnlyFilesTheProgramsReadRebuildThem) {
    std::vector<std::string> sources = {"Resources//shaders//f_clip.cpp", "Resources//shaders/inc_clip_looks.cpp"};
    EXPECT_TRUE(shaderChangeMatters("f_clip.cpp", sources));
    EXPECT_TRUE(shaderChangeMatters("inc_clip_looks.cpp", sources));
    EXPECT_FALSE(shaderChangeMatters("f_clip.xxx", sources));  // every build rewrites the copies
    EXPECT_FALSE(shaderChangeMatters("clip.cpp", sources));
    EXPECT_FALSE(shaderChangeMatters("notes.txt", sources));
}
