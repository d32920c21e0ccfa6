#include "export/exportText.h"

std::string finiteFloatText(float value) {
    textBuffer text;
    appendFiniteFloat(text, value);
    return text.str();
}
