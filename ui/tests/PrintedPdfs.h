// This file implements what the printing tests share to find their output: the folder the PDF
// printer of the local spooler writes into, job titles of their own, and the wait for a job's
// PDF to be whole.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The folder cups-pdf writes into (a host path).
std::string PdfFolder();
// A job title no other run uses: the printer's folder is shared by every run on the machine (other
// build trees among them), and cups-pdf names the file after the title. Letters and digits only,
// which it keeps as they are.
std::string UniqueTitle(const char* Stem = "velbor");
// Whether the file is a whole PDF: cups-pdf writes it in place, its end marker last.
bool WholePdf(const std::string& Path);
// The PDFs of the jobs titled Title once Count of them are whole, oldest first; fewer when they
// did not come within a minute.
std::vector<std::string> WaitForPdfs(const std::string& Title, std::size_t Count);
// What a command run on the host writes to its standard output (its errors dropped).
std::string HostCommand(const std::string& Command);
// The text of a PDF (pdftotext, laid out, UTF-8), its pages ended by form feeds.
std::string PdfText(const std::string& Path);
// The pages' texts of a PDF, in order.
std::vector<std::string> PdfPages(const std::string& Path);
