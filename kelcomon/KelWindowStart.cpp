#include "KelWindowStart.h"

KelWindowStart::~KelWindowStart() = default;
