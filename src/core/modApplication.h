#pragma once

class QWidget;

// Releases what start-up created for the run: the mail component and the open log.
void closeApplication();

// Holds a window at its designed outer size, 13185 x 8565 twips (879 x 571 pixels).
void setFormSize(QWidget *window);
