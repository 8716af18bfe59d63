// This file implements the registration of the classes the report engine's window descriptions and
// the program's forms create: the export filters and the rich-text object with the report's other
// components, and the controls the engine's windows are made of.
#pragma once

// The export filters, the rich-text object and view, and the engine's windows (preview, progress,
// password), for form descriptions, templates and the report's steps.
void RegisterReportOutputComponents();
