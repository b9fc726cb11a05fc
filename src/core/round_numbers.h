// Round steps and plain decimal texts for what a figure labels: axis ticks,
// scale bars and contour levels.
#pragma once

#include <string>
#include <vector>

namespace kestra {

// The smallest step of 1, 2 or 5 times a power of ten (and 2.5 times one
// when `quarterSteps`) that divides `span` into at most `maxSteps` steps;
// 0 for a span that is not positive or a count below 1.
double RoundStep(double span, int maxSteps, bool quarterSteps = false);

// A positive `value` rounded to two significant digits (16.67 to 17, 0.1234 to 0.12).
double TwoSignificantDigits(double value);

// The multiples of `step` from the first at or above `low` up to `high`.
std::vector<double> MultiplesWithin(double low, double high, double step);

// The digits after the decimal point that multiples of `step` need: 0 for
// 5 or 100, 1 for 0.5, 2 for 0.25 or 0.01; at most 9.
int DecimalsOfStep(double step);

// `value` with exactly `decimals` digits after the point ("41.50", "-3",
// never "-0").
std::string FixedText(double value, int decimals);

// `value` with at most `decimals` digits after the point and no trailing
// zeros ("3.3", "12", "0.25").
std::string TrimmedText(double value, int decimals);

// A value in plain decimals with about six significant digits ("3650",
// "41.5", "0.0125"); E-notation only below 1E-4 and from 1E+9 on.
std::string PlainText(double value);

}  // namespace kestra
