import java.awt.Color;
import java.awt.Font;
import java.awt.GradientPaint;
import java.awt.Graphics2D;
import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.StandardCopyOption;
import javax.imageio.ImageIO;

/**
 * A published site's viewer folder as the generator lays it out: PhotoAlbum/ with the
 * viewer's images, PhotoAlbum/index/album-N.dat and PhotoAlbum/images/album-N/.
 */
final class AlbumSite {
  final File root;
  final File codeBase;

  AlbumSite(File root) throws IOException {
    this.root = root;
    this.codeBase = new File(root, "PhotoAlbum");
    Files.createDirectories(new File(codeBase, "index").toPath());
    File viewer = new File(System.getProperty("quorvale.viewer.dir", "."));
    for (String name : new String[] {"photo_album.gif", "spiral.gif", "Torvexa_logo_long.jpg", "Torvexa_logo_long_blk.jpg"}) {
      Files.copy(new File(viewer, name).toPath(), new File(codeBase, name).toPath(),
          StandardCopyOption.REPLACE_EXISTING);
    }
  }

  /** Writes album n's index file: name, comment and "~" per picture, CR LF line ends. */
  void writeIndex(int album, String charset, String[][] entries) throws IOException {
    StringBuilder text = new StringBuilder();
    for (String[] entry : entries) text.append(entry[0]).append("\r\n").append(entry[1]).append("\r\n~\r\n");
    Files.write(new File(codeBase, "index/album-" + album + ".dat").toPath(), text.toString().getBytes(charset));
  }

  /** Draws a w x h picture (JPEG or GIF by its extension) into album n's image folder. */
  void writePicture(int album, String name, int w, int h, Color color) throws IOException {
    File folder = Files.createDirectories(new File(codeBase, "images/album-" + album).toPath()).toFile();
    BufferedImage image = new BufferedImage(w, h, BufferedImage.TYPE_INT_RGB);
    Graphics2D g = image.createGraphics();
    g.setPaint(new GradientPaint(0, 0, color, w, h, color.darker().darker()));
    g.fillRect(0, 0, w, h);
    g.setColor(Color.WHITE);
    g.setFont(new Font("SansSerif", Font.BOLD, Math.max(h / 8, 8)));
    g.drawString(name, w / 8, h * 3 / 4);
    g.dispose();
    if (!ImageIO.write(image, name.toLowerCase().endsWith(".gif") ? "gif" : "jpeg", new File(folder, name))) {
      throw new IOException("no writer for " + name);
    }
  }
}
