#pragma once
// A sphere in the device's world space (the level's y negated): what a view frames.
struct Esfera {
    float X = 0, Y = 0, Z = 0;
    float Radio = 1;
};
