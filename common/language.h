/*
 * The language part of locale file names: the user's abbreviated language
 * name, such as "ENU" or "DEU".
 */
#ifndef QEL_LANGUAGE_H
#define QEL_LANGUAGE_H

#define LANGUAGE_PART_SIZE 4    /* three letters and the terminator */

/* Fills language with at most three letters; empty when the platform has
 * no name for the user's locale. */
void GetUserLanguagePart(char language[LANGUAGE_PART_SIZE]);

#endif
