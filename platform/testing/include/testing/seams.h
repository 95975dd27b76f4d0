// Umbrella of the platform's test seams; each seam has its own header in this folder.
#pragma once
#include <testing/local_time.h>
#include <testing/language.h>
