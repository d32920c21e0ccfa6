#pragma once
// The build budget: the most points one build (all the feathers of one feather node, or of one
// feather system) may make, so that a description or a system too large for any machine is
// refused with its count and the limit before anything is allocated for it, instead of running
// for minutes and then exhausting memory.
//
// A point costs about 40 bytes at the peak of a build (position, normal, its share of the
// per-barbule arrays and of the build's scratch; measured on the example's system; more with
// "outputFeatherMesh"), so the default of 250 million points is about 10 GB.
// QUILLO_MAX_POINTS sets another budget (a whole number from 1 up; anything else is ignored);
// set it before Maya starts to change it there. It is read at every build.

#include <string>

constexpr const char* buildBudgetVariable = "QUILLO_MAX_POINTS";
constexpr unsigned long long defaultBuildBudget = 250000000ull;

// QUILLO_MAX_POINTS when it holds a whole number from 1 up, else defaultBuildBudget.
unsigned long long buildPointBudget();

// Why `feathers` feathers of up to `pointsPerFeather` points each do not fit the budget, or ""
// when they do: "12000 feathers of up to 41000 points are 492000000 points, more than the build
// budget of 250000000 points (QUILLO_MAX_POINTS)".
std::string budgetProblem(unsigned long long feathers, long long pointsPerFeather);

// The most feathers of `pointsPerFeather` points the budget allows.
unsigned long long featherBudget(long long pointsPerFeather);
