#include "ColorTypes.h"

#include <cmath>

double RndHalfEven(double v)
{
    return std::nearbyint(v); // the default rounding mode rounds halves to even
}

int Rnd(double v)
{
    return int(RndHalfEven(v));
}
