#pragma once

// How a range control's position 0..1 maps to a value of a physical scale.
struct CZelValueSpec {
    enum Mapping { Linear = 0, Exponential = 1, Decibel = 2 };

    float minimum = 0.0f;
    float maximum = 1.0f;
    float resolution = 0.0f;
    float lowerBound = 0.0f; // bounds for incoming values
    float upperBound = 1.0f;
    int mapping = Linear; // 3 and 4 are accepted but map to the minimum

    float map(float position) const;
    float unmap(float value) const;
    float quantise(float value) const;
};
