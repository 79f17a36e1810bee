// scene_pieces.h - placements and motions that several scene groups share:
// the parade's row bases, the forest's base, the hammer stroke and the
// falling tears.
#pragma once

struct SceneFrame;

// Row base P: the parade's first row, element i then at T(-0.638 i, 0, 0).
void rowBaseP();

// Row base Q with element i's place: the knives' row, turned on its side,
// in ObjectType 3.
void rowBaseQ(SceneFrame& f, int i);

// The forest floor: draws b and then c from the generator and places the
// element at T(0.6 c - 0.48, 0.1 - 0.2 b - 1 - 1.866 + 0.05, 0.118).
void forestBase();

// Swings a hammer about its handle's end for phase a (already stepped):
// i = 0 the left hammer, i = 1 the right one, turned a quarter first. The
// stroke rests most of the cycle and strikes sharply (|sin a| to the 6th or
// 8th power, only on the positive half).
void hammerStroke(double a, int i);

// A tear falling from its own place in the cycle (seed 42366, `skip`
// values dropped): `spread` wide, `speed` cycles a second, `size` across.
// The caller places the source first; drawn in pink, with jitter 823 + index.
void dropTear(SceneFrame& f, int skip, double spread, double speed, double size, int index);
