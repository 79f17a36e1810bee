// figures.h - when the scene groups draw a captured figure into the two
// mesh targets. A target keeps its last picture between those times, so a
// composite drawn then shows the figure of the last time that drew it.
#pragma once

bool drawsIntoMeshTargetA(float sceneTime);
bool drawsIntoMeshTargetB(float sceneTime);
