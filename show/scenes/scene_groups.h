// scene_groups.h - the show's 62 scene groups, one function each, by act.
//
// A group tests the scene time against its own window and draws its elements
// when the time lies inside. The scene table (scene_timeline.cpp) runs them
// all every frame in number order, which is also the order in which they
// draw from the random generator.
#pragma once

struct SceneFrame;

// The opening, 0 to 13 s (act_opening.cpp).
void groupLogo(SceneFrame& f);          // 1
void groupBackWall(SceneFrame& f);      // 2
void groupMoonStage(SceneFrame& f);     // 9
void groupHandLowered(SceneFrame& f);   // 19
void groupHandRows(SceneFrame& f);      // 21
void groupSea(SceneFrame& f);           // 26
void groupPictureFrame(SceneFrame& f);  // 27
void groupFirstFigure(SceneFrame& f);   // 34

// The bird, hammers and angels, 13 to 41 s (act_hammers.cpp).
void groupBird(SceneFrame& f);             // 10
void groupOldMan(SceneFrame& f);           // 11
void groupViceAndSkull(SceneFrame& f);     // 12
void groupFishShoal(SceneFrame& f);        // 16
void groupMusclesWithFruit(SceneFrame& f); // 17
void groupHammers(SceneFrame& f);          // 18
void groupHandSlidingIn(SceneFrame& f);    // 20
void groupAngelsOpening(SceneFrame& f);    // 24
void groupAngelsMirrored(SceneFrame& f);   // 25
void groupFiguresOnRopes(SceneFrame& f);   // 35
void groupTwoFigures(SceneFrame& f);       // 62

// The table, 41 to 73 s (act_table.cpp).
void groupHorseAndCutlery(SceneFrame& f);      // 13
void groupCutleryAtFront(SceneFrame& f);       // 14
void groupForksAndFruitRows(SceneFrame& f);    // 15
void groupFruitBob(SceneFrame& f);             // 22
void groupAngelRows(SceneFrame& f);            // 23
void groupTelevision(SceneFrame& f);           // 28
void groupTypeBreaking(SceneFrame& f);         // 29
void groupSkullRows(SceneFrame& f);            // 30
void groupFishCarryingCutlery(SceneFrame& f);  // 31
void groupHangedFigure(SceneFrame& f);         // 61

// The mesh figures drawn into their targets (figures.cpp).
void groupFigureIntoTargetA(SceneFrame& f);  // 32
void groupFigureIntoTargetB(SceneFrame& f);  // 33

// The tiled wall and the parade, 73 to 89 s (act_parade.cpp).
void groupTiledWall(SceneFrame& f);  // 8
void groupParade(SceneFrame& f);     // 36

// The empty room, 89 to 97 s (act_empty_room.cpp).
void groupEmptyRoom(SceneFrame& f);       // 3
void groupWalkAcross(SceneFrame& f);      // 45
void groupThreeFigures(SceneFrame& f);    // 46
void groupViola(SceneFrame& f);           // 58
void groupHammersAndNails(SceneFrame& f); // 59
void groupTears(SceneFrame& f);           // 60

// The cave and the forest, 97 to 121 s (act_forest.cpp).
void groupCave(SceneFrame& f);              // 4
void groupMoonStrip(SceneFrame& f);         // 37
void groupForestTrees(SceneFrame& f);       // 38
void groupForestMuscles(SceneFrame& f);     // 39
void groupFishSwimmingPast(SceneFrame& f);  // 40
void groupUmbrellas(SceneFrame& f);         // 43
void groupAxes(SceneFrame& f);              // 44

// The stage, 121 to 161 s (act_stage.cpp).
void groupStage(SceneFrame& f);            // 5
void groupCurtainPair(SceneFrame& f);      // 41
void groupCurtainsInDepth(SceneFrame& f);  // 42
void groupSaw(SceneFrame& f);              // 47
void groupBees(SceneFrame& f);             // 48
void groupFigureOnRope(SceneFrame& f);     // 49
void groupFall(SceneFrame& f);             // 50
void groupNailsAndHammers(SceneFrame& f);  // 55
void groupMusclesMarching(SceneFrame& f);  // 56
void groupSeaAndOldMen(SceneFrame& f);     // 57

// The second cave, 161 to 169 s (act_second_cave.cpp).
void groupSecondCave(SceneFrame& f);   // 6
void groupSkullCracks(SceneFrame& f);  // 51

// The grid wall, 169 to 209 s (act_grid_wall.cpp).
void groupGridWall(SceneFrame& f);         // 7
void groupGridWallRibbons(SceneFrame& f);  // 54

// The ascent, 209 s to the end (act_ascent.cpp).
void groupAscent(SceneFrame& f);  // 52
void groupFade(SceneFrame& f);    // 53
