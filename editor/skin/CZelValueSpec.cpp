#include "editor/skin/CZelValueSpec.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

float CZelValueSpec::quantise(float value) const
{
    return resolution != 0.0f ? resolution * std::floor(value / resolution + 0.5f) : value;
}

float CZelValueSpec::map(float position) const
{
    const double p = std::clamp(double(position), 0.0, 1.0);
    double result = minimum;
    switch (mapping) {
    case Linear:
        result = minimum + p * (double(maximum) - minimum);
        break;
    case Exponential:
        result = minimum * std::pow(double(maximum) / minimum, p);
        break;
    case Decibel: {
        const double a = std::pow(10.0, minimum / 20.0);
        const double b = std::pow(10.0, maximum / 20.0);
        result = 20.0 * std::log10(a + (b - a) * p * p);
        break;
    }
    case 3:
    case 4:
        break;
    default:
        qWarning("Mapping function could not be handled!");
        break;
    }
    return quantise(float(result));
}

float CZelValueSpec::unmap(float value) const
{
    const double x = std::clamp(double(quantise(value)), double(std::min(lowerBound, upperBound)),
                                double(std::max(lowerBound, upperBound)));
    switch (mapping) {
    case Linear:
        return maximum != minimum ? float((x - minimum) / (double(maximum) - minimum)) : 0.0f;
    case Exponential:
        return maximum != minimum && minimum != 0.0f
                   ? float(std::log(x / minimum) / std::log(double(maximum) / minimum))
                   : 0.0f;
    case Decibel: {
        const double a = std::pow(10.0, minimum / 20.0);
        const double b = std::pow(10.0, maximum / 20.0);
        return b != a ? float(std::sqrt(std::max(0.0, (std::pow(10.0, x / 20.0) - a) / (b - a)))) : 0.0f;
    }
    case 3:
    case 4:
        return 0.0f;
    default:
        qWarning("Unmapping function could not be handled!");
        return 0.0f;
    }
}
