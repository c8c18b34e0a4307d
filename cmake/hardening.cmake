# Sanitizer and fuzzing options.
