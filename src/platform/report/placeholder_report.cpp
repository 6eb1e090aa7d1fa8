// Placeholder so the folder's library exists until its first unit lands.
