// Keeps the library non-empty until the virtual radio lands.
