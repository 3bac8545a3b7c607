// Resource identifiers of Quillpage.
#pragma once

// ---- Module, registration, About ----

// ---- Page, proxy settings ----

// ---- Stores and loading ----
