// Compass arithmetic in whole degrees, clockwise from up: how lasers turn off walls.
#pragma once

// The sum of the two, reduced to 0..359 (negative sums included).
int rotate(int direction, int angle);

// Signed turn from one direction to the other, -179..180 for normalised inputs.
int difference(int from, int to);

// The direction after bouncing off a mirror line of the given direction.
int reflect(int direction, int mirror);
