// Which printer printouts go to: the system's, none at all, or a PDF file standing in for one.
#pragma once

#include <QString>
#include <memory>

class QPrinter;

namespace korv {

struct PrinterChoice {
    enum class Mode { System, NoPrinter, PdfFile };
    Mode mode = Mode::System;
    QString pdfPath;  // for PdfFile
};

void setPrinterChoice(const PrinterChoice &choice);
PrinterChoice printerChoice();
// Whether a printer can be printed to at all.
bool printerAvailable();
// A printer for the current choice, or nullptr when there is none.
std::unique_ptr<QPrinter> createPrinter();
// With a PDF file standing in for the printer, every print goes to that file, whatever printer
// a print dialog picked; otherwise the printer is left as chosen.
void directToChosenOutput(QPrinter &printer);

}  // namespace korv
