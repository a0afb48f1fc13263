// The window on screen, in English (TranslationDeTest runs it in German).
#include "app/WindowOnScreenTest.h"

QTEST_MAIN(TWindowOnScreenTest)
