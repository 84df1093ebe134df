/*
 * Texts of the default modules (QELPRDEF.RSC, QELICDEF.RSC), loaded when
 * no module matches the user's language: the English texts, marked as
 * language neutral.
 */
#include "texts_enu.h"

#undef QEL_LANGUAGE
#define QEL_LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL
