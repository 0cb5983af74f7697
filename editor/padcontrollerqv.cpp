#include "padcontrollerqv.h"

CPadControllerQV::~CPadControllerQV() = default;
