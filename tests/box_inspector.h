#pragma once
// placeholder: finds and closes message boxes of another process (Windows-side tests)
