// motion.h - what the two captured figures do, frame by frame.
//
//   PosedFigure f = captureFrame(mesh, CAPTURE_WALKING, 4520);   // file number = capture frame
//
// Both captures run at 25 frames a second; a pose is a pure function of the
// file number. The walking capture holds several takes at the file numbers
// the scenes use: 800-839 a stumble back, a hand raised with the thorn,
// 4208-4209 a falling pose, 4502-4661 a walk in place (six whole strides, so
// the 160 frames loop), 4589-4590 arms spread, 4800-4809 hanging from the
// raised fists (a ten-frame swing that loops). The second capture stands,
// turns and reaches, looping every 80 capture frames.
#pragma once
#include "figure.h"

enum Capture { CAPTURE_WALKING, CAPTURE_SECOND };

Pose capturePose(Capture capture, int fileNumber);

// Posed and lifted onto the floor; the hanging body swung from its fists;
// the stumble carried back so the right palm holds the thorn where the
// scenes draw it at file 820 (-76, 1694, -197) mm.
PosedFigure captureFrame(const FigureMesh& mesh, Capture capture, int fileNumber);

// The middle of the right palm, halfway from the wrist to the knuckles.
Vec3 rightPalm(const PosedFigure& figure);
