// Printer selection behind one seam, so tests print to PDF or to no printer at all.
#include "common/Printers.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace korv {

namespace {
PrinterChoice g_choice;
}

void setPrinterChoice(const PrinterChoice &choice)
{
    g_choice = choice;
}

PrinterChoice printerChoice()
{
    return g_choice;
}

bool printerAvailable()
{
    switch (g_choice.mode) {
    case PrinterChoice::Mode::NoPrinter:
        return false;
    case PrinterChoice::Mode::PdfFile:
        return true;
    case PrinterChoice::Mode::System:
        break;
    }
    return !QPrinterInfo::availablePrinters().isEmpty();
}

std::unique_ptr<QPrinter> createPrinter()
{
    if (!printerAvailable())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    directToChosenOutput(*printer);
    return printer;
}

void directToChosenOutput(QPrinter &printer)
{
    if (g_choice.mode != PrinterChoice::Mode::PdfFile)
        return;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(g_choice.pdfPath);
}

}  // namespace korv
