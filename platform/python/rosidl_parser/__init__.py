"""The type descriptions that the Python message classes give in SLOT_TYPES."""
