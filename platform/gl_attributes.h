// gl_attributes.h - the context every show window asks for, set before the
// window is created: double buffer, 24-bit depth, 8-bit stencil, 4 samples.
//
// Major version 3 with the minor left at SDL's default stays below 3.2,
// where the profile bit is ignored and the fixed-function pipeline remains.
#pragma once

void requestShowContextAttributes();
