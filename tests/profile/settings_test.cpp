#include "profile/settings.h"
