#include "MyView.h"
