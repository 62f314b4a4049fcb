#pragma once

// The project file as a whole: its records and value codec (project_file_format.h),
// the writer (project_file_writer.h) and the reader (project_file_reader.h).
#include "projectfile/project_file_format.h"
#include "projectfile/project_file_reader.h"
#include "projectfile/project_file_writer.h"
