#pragma once

class QWidget;

// Replaces every text of a window and all its children (window title, labels,
// buttons, group boxes, tooltips, placeholder texts, combo and list items,
// menu entries) by its translation in the text domain. Called on a freshly
// built window, before any run-time content is filled in.
void TranslateComponent(QWidget* Window, const char* Domain = "default");
