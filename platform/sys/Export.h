// Marks what a shared library exports; everything else stays hidden (-fvisibility=hidden).
#pragma once

#define QUILAN_EXPORT __attribute__((visibility("default")))
