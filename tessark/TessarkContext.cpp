#include "tessark/TessarkContext.h"

TessarkContext::TessarkContext() = default;
TessarkContext::~TessarkContext() = default;
