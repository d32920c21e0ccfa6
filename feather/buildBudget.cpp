#include "feather/buildBudget.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

unsigned long long buildPointBudget() {
    const char* text = std::getenv(buildBudgetVariable);
    if (!text || *text < '0' || *text > '9') {
        return defaultBuildBudget; // strtoull would skip spaces and accept a sign
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < 1) {
        return defaultBuildBudget;
    }
    return value;
}

unsigned long long featherBudget(long long pointsPerFeather) {
    const unsigned long long each = pointsPerFeather > 0 ? pointsPerFeather : 1;
    return buildPointBudget() / each;
}

std::string budgetProblem(unsigned long long feathers, long long pointsPerFeather) {
    if (feathers <= featherBudget(pointsPerFeather)) {
        return std::string();
    }
    const unsigned long long each = pointsPerFeather > 0 ? pointsPerFeather : 1;
    unsigned long long total = 0;
    const bool beyond = __builtin_mul_overflow(feathers, each, &total);
    return std::to_string(feathers) + (feathers == 1 ? " feather" : " feathers") + " of up to " +
           std::to_string(each) + " points " + (feathers == 1 ? "is " : "are ") +
           (beyond ? "more than " + std::to_string(ULLONG_MAX) : std::to_string(total)) +
           " points, more than the build budget of " + std::to_string(buildPointBudget()) +
           " points (" + buildBudgetVariable + ")";
}
