#pragma once

// Reference lengths are given for a screen 1080 lines high. scale() converts one to the
// current render size (for text scales and float sizes); pixels() also truncates it to
// whole pixels (for positions and offsets).
float scale(float length);
float pixels(float length);
