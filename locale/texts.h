/*
 * Picks the texts of the module being built: its build defines
 * QEL_TEXTS_<language>.
 */
#if defined(QEL_TEXTS_ENU)
#include "texts_enu.h"
#elif defined(QEL_TEXTS_DEU)
#include "texts_deu.h"
#elif defined(QEL_TEXTS_DEF)
#include "texts_def.h"
#else
#error "No language for this resource module"
#endif
