// advance_show.h - the show's step in every main-loop frame: the active part
// advances and draws, and the soundtrack is kept on each part's raw time.
#pragma once

struct AppState;

void advanceShow(AppState& state);
