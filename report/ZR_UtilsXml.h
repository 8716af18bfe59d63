// This file implements the conversion of a report template to the XML report format
// (SaveReportAsXml) and the helpers the objects' own elements use.
#pragma once

#include "AnsiString.h"

class TStream;
class TMemoryStream;
class TStrings;
class TzrReport;

// The whole document: declaration, root with the script and property data, one element per page.
void SaveReportAsXml(TzrReport* Report, TStream* Stream);
void XmlWrite(TStream* Stream, const String& Text);
void XmlWriteLine(TStream* Stream, const String& Text);
// The stream's bytes as upper-case hexadecimal, two digits per byte.
String StreamToHex(TMemoryStream* Stream);
// The script of the pages and objects as one text of procedures, and one object's procedure.
String XmlWriteScriptText(TzrReport* Report);
void XmlWriteObjectScript(TStrings* Out, const String& Name, TStrings* Script);
// The data links and the dictionary's variables in the component-stream encoding, in hexadecimal.
String XmlWritePropData(TzrReport* Report);
