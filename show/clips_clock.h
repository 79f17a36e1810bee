// clips_clock.h - the clips part's clock: the raw show time moved by the
// frame time and the control surface, then looked up in the time map.
//
//   part.update();  // time, rawTime, fttime, sceneTime, timeFlag
//
// update reads the time map that the frame step (clips_frame) fills.
#pragma once
#include "show/live_inputs.h"

// The clock rule on a raw time: pause, nudges, jump and mark from the control
// surface, the A key back to the opening. Returns the new raw time.
float advanceRawTime(float time, float rate, LiveInputs& live);
