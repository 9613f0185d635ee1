// The program's blank model and the devices the blanks are drawn on, shared
// by the blank designer and the choice of blanks to print. They are kept
// with the designer (printdiziner.cpp).
#pragma once

#include <string>

#include "printing/blankmodel.h"

class PrintDevice;
class TBitmap;

// The program's blank model, loaded when the main window is first shown and
// saved when it closes.
BlankModel& ProgramBlanks();
// False once the loaded lists were found out of step: then no blank is shown
// or printed and the files are never written back.
bool ProgramBlanksUsable();
// Checks the loaded model; out of step, it is marked unusable, kept from
// being saved, and the message naming the file at fault is returned (else
// an empty text).
std::string AdoptLoadedBlanks();
// The message about a model out of step (empty when it is sound).
std::string BlankModelMessage();

// The printer of the blanks and the designer's page picture.
PrintDevice& PagePrinter();
TBitmap& PageImage();
