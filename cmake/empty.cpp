// Stands in for a subsystem library that has no sources yet.
