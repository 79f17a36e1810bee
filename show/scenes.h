// scenes.h - the show's scene timeline: everything drawn into the scene
// target for one frame, as a function of the part's scene time.
#pragma once

class Part_Clips;

// Draws the frame's scenes into the bound scene target (three outputs).
void drawScenes(Part_Clips& part);
