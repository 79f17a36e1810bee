// The scene camera's depth range, to turn depth-buffer values into metres.

const float NEAR = 0.01;
const float FAR = 24.0;

float linearDepth(float d) { return NEAR * FAR / (FAR - d * (FAR - NEAR)); }
